// What the number box and the spin box share inside the controls unit.
#pragma once

#include "scene/controls/Sg_numberbox.h"
#include "scene/core/Sg_scene_text.h"

#include "platform/rtl/Exceptions.h"

#include <cmath>

namespace numericbox {

// What typing may put into a numeric box.
inline constexpr char16_t kNumberChars[] = u"0123456789.,-+";

// Both boxes publish the same range and text properties.
template <class T>
void PublishNumeric(TPublisher<T>& p) {
    // The bounds come before the value, so a value read from a stream is limited by the bounds
    // read with it.
    p.Float("Min", &T::Min, &T::SetMin, 0);
    p.Float("Max", &T::Max, &T::SetMax, 0);
    p.Float("Value", &T::Value, &T::SetValue, 0);
    p.Integer("DecimalDigits", &T::DecimalDigits, &T::SetDecimalDigits, 2);
    p.Enumeration("ValueType", &T::ValueType, &T::SetValueType, {"sgValueInteger", "sgValueFloat"},
                  std::nullopt);
    p.Boolean("ShowCaret", &T::ShowCaret, &T::SetShowCaret, true);
    // The text follows the value and is never written.
    p.String("Text", &T::Text, &T::SetText).Stored([](TPersistent&) { return false; });
}

// Limits Value to Max and then to Min; NaN has no place in the range and is refused.
inline bool Limit(float& Value, float Min, float Max) {
    if (std::isnan(Value))
        return false;
    if (Value > Max)
        Value = Max;
    if (Value < Min)
        Value = Min;
    return true;
}

// The value a committed text stands for: the typed number limited to the range, or the old
// value when the text is no number.
inline float TypedValue(const UnicodeString& Text, float Old, float Min, float Max) {
    try {
        float v = sgStrToFloat(Text);
        if (Limit(v, Min, Max))
            return v;
    } catch (const EConvertError&) {
    }
    return Old;
}

} // namespace numericbox
