#pragma once
// A device manager with the keyboard and the mouse registered over a cleared input record.
#include <gtest/gtest.h>

#include "engine/core/AGDeviceManager.h"
#include "engine/core/PCInputRecord.h"

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_inputRecord.Reset();
        m_devices = new AGDeviceManager();
        AGDeviceManager::SetInstance(m_devices);
        m_devices->RegisterDevices();
        m_impl = static_cast<PCDeviceManagerImpl*>(m_devices->Impl());
    }
    void TearDown() override {
        AGDeviceManager::SetInstance(nullptr);
        delete m_devices;
        g_inputRecord.Reset();
    }
    AGDeviceManager* m_devices = nullptr;
    PCDeviceManagerImpl* m_impl = nullptr;
};
