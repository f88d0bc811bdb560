#pragma once
// Run-time type ids of the widget classes: the name id of each full class name.
#include "engine/core/Crc32Hash.h"

namespace GameServices::Widget::TypeIds {

inline constexpr u32 Screen = Crc32Hash("GameServices::Widget::Screen");
inline constexpr u32 Panel = Crc32Hash("GameServices::Widget::Panel");
inline constexpr u32 Widget = Crc32Hash("GameServices::Widget::Widget");
inline constexpr u32 Image = Crc32Hash("GameServices::Widget::Image");
inline constexpr u32 SoftKeyboard = Crc32Hash("GameServices::Widget::SoftKeyboard");
inline constexpr u32 Button = Crc32Hash("GameServices::Widget::Button");
inline constexpr u32 Label = Crc32Hash("GameServices::Widget::Label");
inline constexpr u32 Popup = Crc32Hash("GameServices::Widget::Popup");
inline constexpr u32 ScrollText = Crc32Hash("GameServices::Widget::ScrollText");
inline constexpr u32 CheckBox = Crc32Hash("GameServices::Widget::CheckBox");
inline constexpr u32 SliderButton = Crc32Hash("GameServices::Widget::SliderButton");
inline constexpr u32 SliderTrackBar = Crc32Hash("GameServices::Widget::SliderTrackBar");
inline constexpr u32 Emitter3D = Crc32Hash("GameServices::Widget::Emitter3D");
inline constexpr u32 ResizableWindow = Crc32Hash("GameServices::Widget::ResizableWindow");
inline constexpr u32 Video = Crc32Hash("GameServices::Widget::Video");
inline constexpr u32 ViewPort3D = Crc32Hash("GameServices::Widget::ViewPort3D");

}  // namespace GameServices::Widget::TypeIds
