// qv::qt::NumBox: the numeric box as a Qt widget.
//
//     auto* price = new qv::qt::NumBox(form);
//     price->setPostDecimalNumbers(2);
//     bool ok = price->setValue(123456789.0);       // false: too many digits, nothing changed
//     price->setProperty("PreDecimalNumbers", 99);  // false when refused, nothing changed
//     price->setValue(12.5);                        // shows "12,50"
//     connect(price, &qv::qt::NumBox::valueChanged, form, [](const QVariant& v) { ... });
//
// Every property of the control is a Qt property under the control's own name; colours are
// QColors, enumerations ints. Value (the user property) and Text are QVariants: an invalid
// QVariant is Null (an empty box) both ways, Value reads back as the control holds it (a number,
// or the text it was written as). The whole typed interface is box(); events are the signals of
// ControlWidget, with valueChanged, textChanged and editingFinished as a QDoubleSpinBox has them.
// The box has no field: it takes the focus and the keys on this widget.
//
// Data binding (QDataWidgetMapper, item delegates) writes Value through Qt's property system. A
// value the box cannot show there (more integer digits than it allows, not a number) never turns
// into another value: the box empties and shows "#" marks instead of the previous record's number,
// valueNotShown says which value and why, and Value reads back that value, so a record the user
// does not edit is written back unchanged. The first edit or shown value ends this state.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariant>

#include "hosts/qt/ControlWidget.h"
#include "numbox/QVnumBoxControl.h"

namespace qv::qt {

class NumBox : public PropertyWriteGate {
    Q_OBJECT
    Q_PROPERTY(QVariant Value READ boundValue WRITE writeValue NOTIFY valueChanged USER true)
    Q_PROPERTY(QVariant Text READ Text WRITE writeText)
    Q_PROPERTY(int Alignment READ Alignment)
    Q_PROPERTY(bool AllowMinus READ AllowMinus WRITE writeAllowMinus)
    Q_PROPERTY(int Appearance READ Appearance WRITE writeAppearance)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE writeBackColor)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE writeBorderStyle)
    Q_PROPERTY(bool CheckRange READ CheckRange WRITE writeCheckRange)
    Q_PROPERTY(
        QString DecimalPointCharacter READ DecimalPointCharacter WRITE writeDecimalPointCharacter)
    Q_PROPERTY(QColor DisabledColor READ DisabledColor WRITE writeDisabledColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE writeEnabled)
    Q_PROPERTY(QColor ErrorColor READ ErrorColor WRITE writeErrorColor)
    Q_PROPERTY(QColor FocusColor READ FocusColor WRITE writeFocusColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE writeForeColor)
    Q_PROPERTY(QFont Font READ Font WRITE writeFont)
    Q_PROPERTY(bool FontBold READ FontBold WRITE writeFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE writeFontItalic)
    Q_PROPERTY(QString FontName READ FontName WRITE writeFontName)
    Q_PROPERTY(double FontSize READ FontSize WRITE writeFontSize)
    Q_PROPERTY(bool FontStrikethru READ FontStrikethru WRITE writeFontStrikethru)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE writeFontUnderline)
    Q_PROPERTY(bool HideSelection READ HideSelection)
    Q_PROPERTY(bool IncludeLargestValueToRange READ IncludeLargestValueToRange WRITE
                   writeIncludeLargestValueToRange)
    Q_PROPERTY(bool IncludeSmallestValueToRange READ IncludeSmallestValueToRange WRITE
                   writeIncludeSmallestValueToRange)
    Q_PROPERTY(double LargestValue READ LargestValue WRITE writeLargestValue)
    Q_PROPERTY(bool Locked READ Locked WRITE writeLocked)
    Q_PROPERTY(int MaxLength READ MaxLength)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE writeMousePointer)
    Q_PROPERTY(bool MultiLine READ MultiLine)
    Q_PROPERTY(bool MustHaveValue READ MustHaveValue WRITE writeMustHaveValue)
    Q_PROPERTY(QString PasswordChar READ PasswordChar)
    Q_PROPERTY(int PostDecimalNumbers READ PostDecimalNumbers WRITE writePostDecimalNumbers)
    Q_PROPERTY(int PreDecimalNumbers READ PreDecimalNumbers WRITE writePreDecimalNumbers)
    Q_PROPERTY(int ScrollBars READ ScrollBars)
    Q_PROPERTY(bool SelectedOnGotFocus READ SelectedOnGotFocus WRITE writeSelectedOnGotFocus)
    Q_PROPERTY(bool Separator READ Separator WRITE writeSeparator)
    Q_PROPERTY(double SmallestValue READ SmallestValue WRITE writeSmallestValue)
    Q_PROPERTY(QString TextFormatted READ TextFormatted)
    Q_PROPERTY(bool UseWarningColor READ UseWarningColor WRITE writeUseWarningColor)
    Q_PROPERTY(QColor WarningColor READ WarningColor WRITE writeWarningColor)

  public:
    // A new numeric box: defaults and the form's font.
    explicit NumBox(QWidget* parent = nullptr);
    // A numeric box loaded from stored properties (a form file).
    explicit NumBox(PropertyBag& bag, QWidget* parent = nullptr);

    QVnumBoxControl& box() const { return static_cast<QVnumBoxControl&>(control()); }
    // True when the box is empty (Value and Text are Null).
    bool isNull() const { return box().IsNull(); }
    // What the box shows ("1.234,5" while typing).
    QString displayText() const { return ToQString(box().DisplayText()); }

    int Alignment() const { return box().Alignment(); }
    bool HideSelection() const { return box().HideSelection(); }
    int MaxLength() const { return box().MaxLength(); }
    bool MultiLine() const { return box().MultiLine(); }
    QString PasswordChar() const { return ToQString(box().PasswordChar()); }
    int ScrollBars() const { return box().ScrollBars(); }
    // The value as it will show once the focus leaves. Qt's property system cannot carry the
    // control's error for a value beyond the digit limits: it reads a null QString then
    // (box().TextFormatted() raises it).
    QString TextFormatted() const;

    Q_INVOKABLE bool CheckValueNow() { return box().CheckValueNow(); }

    void selectAll() override;
    void typeKey(int16_t keyCode, int16_t shift, char16_t character) override {
        typeOwnKey(keyCode, shift, character);
    }
    EditState editState() const override;

    // The value as the box holds it (Null while a value it could not show is bound).
    QVariant Value() const { return ToQVariant(box().Value()); }
    bool setValue(const QVariant& v);
    // The bound value the box could not show; invalid when it shows its value.
    const QVariant& unshownValue() const { return unshown_; }

  signals:
    void valueChanged(const QVariant& value);
    void textChanged(const QString& text);
    // A value written through Qt's property system (data binding) could not be shown: the
    // number and description of the control's error.
    void valueNotShown(const QVariant& value, int number, const QString& description);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    void writeValue(const QVariant& v);
    QVariant boundValue() const { return unshown_.isValid() ? unshown_ : Value(); }
    void changed() override;
    void endUnshown();
    QVariant unshown_;

  public:
    QV_QT_ACCESSORS(QVariant, Text, ToQVariant(box().Text()), box().Text(FromQVariant(v)))
    QV_QT_ACCESSORS(bool, AllowMinus, box().AllowMinus(), box().AllowMinus(v))
    QV_QT_ACCESSORS(int, Appearance, static_cast<int>(box().Appearance()),
                    box().Appearance(static_cast<Flat3d>(v)))
    QV_QT_ACCESSORS(QColor, BackColor, ToQColor(box().BackColor()), box().BackColor(ColorArg(v)))
    QV_QT_ACCESSORS(int, BorderStyle, static_cast<int>(box().BorderStyle()),
                    box().BorderStyle(static_cast<NoneFixedSingle>(v)))
    QV_QT_ACCESSORS(bool, CheckRange, box().CheckRange(), box().CheckRange(v))
    QV_QT_ACCESSORS(QString, DecimalPointCharacter, ToQString(box().DecimalPointCharacter()),
                    box().DecimalPointCharacter(FromQString(v)))
    QV_QT_ACCESSORS(QColor, DisabledColor, ToQColor(box().DisabledColor()),
                    box().DisabledColor(ColorArg(v)))
    QV_QT_ACCESSORS(bool, Enabled, box().Enabled(), box().Enabled(v))
    QV_QT_ACCESSORS(QColor, ErrorColor, ToQColor(box().ErrorColor()), box().ErrorColor(ColorArg(v)))
    QV_QT_ACCESSORS(QColor, FocusColor, ToQColor(box().FocusColor()), box().FocusColor(ColorArg(v)))
    QV_QT_ACCESSORS(QColor, ForeColor, ToQColor(box().ForeColor()), box().ForeColor(ColorArg(v)))
    QV_QT_ACCESSORS(QFont, Font, ToQFont(*box().Font()), box().Font(FontArg(v)))
    QV_QT_ACCESSORS(bool, FontBold, box().FontBold(), box().FontBold(v))
    QV_QT_ACCESSORS(bool, FontItalic, box().FontItalic(), box().FontItalic(v))
    QV_QT_ACCESSORS(QString, FontName, ToQString(box().FontName()), box().FontName(FromQString(v)))
    QV_QT_ACCESSORS(double, FontSize, box().FontSize(), box().FontSize(static_cast<float>(v)))
    QV_QT_ACCESSORS(bool, FontStrikethru, box().FontStrikethru(), box().FontStrikethru(v))
    QV_QT_ACCESSORS(bool, FontUnderline, box().FontUnderline(), box().FontUnderline(v))
    QV_QT_ACCESSORS(bool, IncludeLargestValueToRange, box().IncludeLargestValueToRange(),
                    box().IncludeLargestValueToRange(v))
    QV_QT_ACCESSORS(bool, IncludeSmallestValueToRange, box().IncludeSmallestValueToRange(),
                    box().IncludeSmallestValueToRange(v))
    QV_QT_ACCESSORS(double, LargestValue, box().LargestValue(), box().LargestValue(v))
    QV_QT_ACCESSORS(bool, Locked, box().Locked(), box().Locked(v))
    QV_QT_ACCESSORS(int, MousePointer, static_cast<int>(box().MousePointer()),
                    box().MousePointer(static_cast<MousePointerEnum>(v)))
    QV_QT_ACCESSORS(bool, MustHaveValue, box().MustHaveValue(), box().MustHaveValue(v))
    QV_QT_ACCESSORS(int, PostDecimalNumbers, box().PostDecimalNumbers(),
                    box().PostDecimalNumbers(Int16Arg(v)))
    QV_QT_ACCESSORS(int, PreDecimalNumbers, box().PreDecimalNumbers(),
                    box().PreDecimalNumbers(Int16Arg(v)))
    QV_QT_ACCESSORS(bool, SelectedOnGotFocus, box().SelectedOnGotFocus(),
                    box().SelectedOnGotFocus(v))
    QV_QT_ACCESSORS(bool, Separator, box().Separator(), box().Separator(v))
    QV_QT_ACCESSORS(double, SmallestValue, box().SmallestValue(), box().SmallestValue(v))
    QV_QT_ACCESSORS(bool, UseWarningColor, box().UseWarningColor(), box().UseWarningColor(v))
    QV_QT_ACCESSORS(QColor, WarningColor, ToQColor(box().WarningColor()),
                    box().WarningColor(ColorArg(v)))
};

}  // namespace qv::qt
