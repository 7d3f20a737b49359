// QVnumBoxControl: the number model: the value, its text forms, formatting and validation.
#include <cmath>

#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
constexpr const char16_t* kSource = u"QVNumBoxControl";
constexpr const char16_t* kTooManyPreDecimals = u"Too many pre decimal numbers!";

// The text form of a value, or nullopt for one without (an object).
std::optional<String> TextForm(const Variant& v) {
    try {
        return v.ToString();
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

bool IsDigitChar(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Resets a flag on every exit, so that an application handler's exception cannot leave it set.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool old_;
};
}  // namespace

numtext::Chars QVnumBoxControl::Chars() const {
    const char16_t dec = mDecimalPointCharacter.empty() ? u',' : mDecimalPointCharacter[0];
    return {dec, dec == u'.' ? u',' : u'.'};
}

void QVnumBoxControl::RestoreNumber(NumberState s) {
    mValueText = std::move(s.valueText);
    mNegative = s.negative;
    mValue = std::move(s.value);
    mIsNull = s.isNull;
}

// --- Formatting -----------------------------------------------------------------------------

String QVnumBoxControl::FormattedValue() const {
    if (mValueText.empty() || mIsNull) return String();
    auto text = numtext::FormatNumber(mValueText, mNegative, mPreDecimalNumbers,
                                      mPostDecimalNumbers, Chars(), mSeparator);
    if (!text) Raise(err::InvalidPropertyValue, kSource, kTooManyPreDecimals);
    return std::move(*text);
}

String QVnumBoxControl::FormatValue(bool formatOnly) {
    String result = FormattedValue();
    if (!formatOnly && result != DisplayText()) {
        SetDisplay(result);
        Notice(u"Text");
        RaiseChange();
    }
    return result;
}

String QVnumBoxControl::TextFormatted() const {
    return FormattedValue();
}

// --- Value and Text -------------------------------------------------------------------------

Variant QVnumBoxControl::Value() const {
    return mIsNull ? Variant::Null() : mValue;
}

bool QVnumBoxControl::IsAcceptableValue(const Variant& value) const {
    if (value.IsNull()) return true;
    const auto text = TextForm(value);
    // Only a plain decimal number can be shown: no exponent, no letters, "." as the point.
    if (!text || !numtext::IsPlainDecimal(*text)) return false;
    return mAllowMinus || TrimBlanks(*text).rfind(u'-', 0) != 0;
}

void QVnumBoxControl::Value(const Variant& New_Value) {
    RunSteps([&] {
        if (New_Value.IsNull()) {
            mIsNull = true;
            SetDisplay(String());
        } else {
            if (!IsAcceptableValue(New_Value)) Raise(err::InvalidPropertyValue);
            String s = TrimBlanks(*TextForm(New_Value));
            const bool negative = s[0] == u'-';
            if (negative || s[0] == u'+') s.erase(0, 1);
            if (s[0] == u'.') s.insert(s.begin(), u'0');
            const NumberState saved = SaveNumber();
            mIsNull = false;
            mValue = New_Value;
            mNegative = negative;
            mValueText = std::move(s);
            try {
                (void)FormattedValue();  // a value that does not fit changes nothing
            } catch (const RuntimeError&) {
                RestoreNumber(saved);
                throw;
            }
            FormatValue(false);
            Notice(u"Value");
        }
        if (mSelectedOnGotFocus && Enabled()) SelectAll();
        Recolour();
    });
}

Variant QVnumBoxControl::Text() const {
    return mIsNull ? Variant::Null() : Variant(DisplayText());
}

void QVnumBoxControl::Text(const Variant& New_Text) {
    RunSteps([&] {
        // Text that does not parse changes no number, but the write still selects and recolours.
        (void)SetValueFromText(New_Text, true);
        if (mSelectedOnGotFocus && Enabled()) SelectAll();
        Recolour();
    });
}

void QVnumBoxControl::SetNull(bool notify) {
    const bool changed = !DisplayText().empty();
    SetDisplay(String());
    mIsNull = true;
    mValue = int16_t{0};
    if (notify) {
        Notice(u"Text");
        Notice(u"Value");
    }
    if (changed) RaiseChange();
}

bool QVnumBoxControl::SetValueFromText(const Variant& value, bool notify) {
    if (value.IsNull()) {
        SetNull(notify);
        return true;
    }
    String s = TrimBlanks(TextForm(value).value_or(String()));
    if (s.empty()) {
        SetNull(true);
        return true;
    }
    if (s[0] == u'+') s = TrimBlanks(StringView(s).substr(1));
    const bool negative = !s.empty() && s[0] == u'-';
    if (negative && !mAllowMinus) return false;
    if (negative) s = TrimBlanks(StringView(s).substr(1));

    const numtext::Chars c = Chars();
    String pre, post;
    size_t i = 0;
    for (; i < s.size() && s[i] != c.dec; ++i) {
        if (s[i] == c.sep) continue;
        if (!IsDigitChar(s[i])) return false;
        pre.push_back(s[i]);
    }
    for (++i; i < s.size(); ++i) {
        if (s[i] == c.sep) continue;
        if (!IsDigitChar(s[i])) return false;  // a second decimal character too
        post.push_back(s[i]);
    }
    if (pre.empty()) pre = u"0";
    if (pre.size() > static_cast<size_t>(mPreDecimalNumbers)) return false;

    const NumberState saved = SaveNumber();
    mNegative = negative;
    mValueText = pre + u"." + post;
    const double number = Val(mValueText);
    mValue = negative && number != 0 ? -number : number;
    mIsNull = false;
    try {
        (void)FormattedValue();  // a rounding carry may still overflow: change nothing then
    } catch (const RuntimeError&) {
        RestoreNumber(saved);
        throw;
    }
    FormatValue(false);
    if (notify) Notice(u"Value");
    return true;
}

// --- Settings that reformat the display -----------------------------------------------------

void QVnumBoxControl::Separator(bool New_Separator) {
    mSeparator = New_Separator;
    SetDisplay(numtext::FormatDisplayText(DisplayText(), Chars(), mSeparator));
    Notice(u"Separator");
}

void QVnumBoxControl::DecimalPointCharacter(const String& New_DecimalPointCharacter) {
    const String first = New_DecimalPointCharacter.substr(0, 1);
    // Digits, the sign and blanks are part of the number itself: such a decimal character
    // would make the display unreadable.
    if (!first.empty() && (IsDigitChar(first[0]) || first[0] == u'-' || first[0] == u' '))
        Raise(err::InvalidPropertyValue);
    const numtext::Chars old = Chars();
    String t = numtext::FormatDisplayText(DisplayText(), old, false);
    mDecimalPointCharacter = first;
    // An emptied setting means ",": the display takes that, or its old point would be read as
    // a grouping character and the number would change.
    const size_t at = t.find(old.dec);
    if (at != String::npos) t[at] = Chars().dec;
    SetDisplay(numtext::FormatDisplayText(t, Chars(), mSeparator));
    Notice(u"DecimalPointCharacter");
}

void QVnumBoxControl::PostDecimalNumbers(int16_t New_PostDecimalNumbers) {
    if (New_PostDecimalNumbers < 0 || New_PostDecimalNumbers > 255)
        Raise(err::InvalidPropertyValue);
    // While the user types, the display keeps its digits and takes the new count when the focus
    // leaves; digits beyond the new count are rounded away at once.
    const bool reformat = !mHasFocus || numtext::PostDecimalDigits(DisplayText(), Chars()).size() >
                                            static_cast<size_t>(New_PostDecimalNumbers);
    const int16_t old = mPostDecimalNumbers;
    mPostDecimalNumbers = New_PostDecimalNumbers;
    if (reformat) {
        const FlagScope quiet(mSuppressChange);
        try {
            FormatValue(false);
        } catch (const RuntimeError&) {
            mPostDecimalNumbers = old;
            throw;
        }
    }
    Notice(u"PostDecimalNumbers");
}

// --- Validation -----------------------------------------------------------------------------

bool QVnumBoxControl::CheckValueNow() {
    // The colour follows the verdict even when the handler fails after changing it.
    return RunSteps([&] { return Judge(); });
}

bool QVnumBoxControl::Judge() {
    const bool runMode = RunMode();
    const bool editable = Editable();
    bool ValueOkay = true;
    if (runMode) {
        const String& display = DisplayText();
        if (editable) {
            if (TrimBlanks(display).empty()) {
                ValueOkay = !mMustHaveValue;
            } else if (mRange.check) {
                const numtext::Chars c = Chars();
                double v = Val(numtext::PreDecimalDigits(display, c) + u"." +
                               numtext::PostDecimalDigits(display, c));
                if (display[0] == u'-') v = -v;
                ValueOkay = mRange.Admits(v);
            }
        }
        // ValidationCheck runs at run time only: a designer sees the plain colours.
        RaiseEvent(u"ValidationCheck", events.ValidationCheck, ValueOkay);
    }
    const Color colour = mColors.Background(runMode, editable, ValueOkay, mHasFocus);
    GetHost().BackColor(colour);
    return ValueOkay;
}

}  // namespace qv
