#pragma once
// The rules of the numeric entry field, apart from any widget: the limits and how they clamp
// each other and the value, integer-only and hexadecimal display, the check made when the
// user leaves the field with its exact messages, the companion label's text and the rule
// that lets an operator key extend a shown value. The Qt field (DataEdit.h) sits on top.
//
// Typed text accepts "." as the decimal point always, and the locale's separator as well;
// the field always shows ".".

#include <limits>
#include <string>

namespace torvex {

class TDataEditRules {
public:
    static constexpr long double kLargest = std::numeric_limits<long double>::max();

    // The result of the exit check: the message to show when the entry was refused.
    struct TCheck {
        bool valid = false;
        std::string message;
    };

    bool IntegerOnly() const { return integerOnly_; }
    bool Hex() const { return hex_; }
    long double MinVal() const { return minVal_; }
    long double MaxVal() const { return maxVal_; }
    int Units() const { return units_; }
    const std::string& UnitsString() const { return unitsString_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Text() const { return text_; }
    bool Valid() const { return valid_; }

    // Integer-only also brings both limits into the 32-bit range.
    void SetIntegerOnly(bool value);
    void SetHex(bool value) { hex_ = value; }
    // A value the program cannot use unless it is above zero (a length to divide by): zero or
    // less is refused with "Entry must be greater than 0", the typed text kept.
    void SetPositiveOnly(bool value) { positiveOnly_ = value; }
    // Where several fields of a window take the same kind of value, the exit check's message
    // starts with the field's caption ("Minimum Surcharge: Entry must be greater than or equal
    // to 0"), its accelerator mark left out.
    bool NamedMessages() const { return namedMessages_; }
    void SetNamedMessages(bool value) { namedMessages_ = value; }
    // A maximum below the minimum becomes the minimum; a value above it comes down to it.
    void SetMaxVal(long double value);
    // A minimum above the maximum becomes the maximum; a value below it goes up to it.
    void SetMinVal(long double value);
    // Systems below 1 become 1, above 3 become 3.
    void SetUnits(int system);
    void SetUnitsString(const std::string& units) { unitsString_ = units; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    // The text as typed.
    void SetText(const std::string& text) { text_ = text; }

    // The value of the text; raises EAssignError (or EMathError) when it cannot be read.
    long double Number() const;
    // Clamps the value to the limits and shows it.
    void SetNumber(long double value);
    // The shown text of a value: "$" and at least four upper-case hex digits with Hex,
    // else the general format with 18 significant digits and ".".
    std::string NumberText(long double value) const;

    // "Caption (unit label)", or the caption alone without a unit string.
    std::string LabelText() const;

    // Run when the user leaves the field: reads the text, checks it against integer-only and
    // the limits, and rewrites it in the field's format. A value beyond a limit is replaced
    // by that limit. Valid() tells the outcome afterwards.
    TCheck ExitCheck();

    // The keys after which a fully selected value is extended rather than replaced.
    static bool IsOperatorKey(char key);

private:
    // The value of the text, or false when it cannot be read (no message).
    bool TryNumber(long double& value) const;
    // ExitCheck's check, its message without the caption.
    TCheck Check();

    bool integerOnly_ = false;
    bool positiveOnly_ = false;
    bool namedMessages_ = false;
    bool hex_ = false;
    long double minVal_ = -kLargest;
    long double maxVal_ = kLargest;
    int units_ = 1;
    std::string unitsString_;
    std::string caption_;
    std::string text_ = "0";
    bool valid_ = false;
};

}  // namespace torvex
