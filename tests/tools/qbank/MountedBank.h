#pragma once
// A compiled question bank package mounted through the "data" provider, with its manager
// initialised and its dictionary published to the matcher.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/QuestionManager.h"

struct MountedBank {
    // mountName: "<folder>.dir" for the package folder "<folder>".
    explicit MountedBank(const std::string& mountName) {
        AGResourceManager::SetInstance(&resources);
        resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        package.Mount(mountName.c_str(), false);
        manager = std::make_unique<QZ2011::QuestionManager>(QZ2011::QuestionServices{});
        EXPECT_TRUE(manager->Initialize());
        EXPECT_TRUE(dictionary.Load());
        SetMatcherDictionary(&dictionary);
    }
    ~MountedBank() {
        SetMatcherDictionary(nullptr);
        manager.reset();
        package.Unmount();
        AGResourceManager::SetInstance(nullptr);
        WordPairMap.Clear();
    }

    AGResourceManager resources;
    PcDirectory package;
    std::unique_ptr<QZ2011::QuestionManager> manager;
    QZ2011::Autocompleter dictionary;
};
