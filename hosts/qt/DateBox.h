// qv::qt::DateBox: the date box as a Qt widget.
//
//     auto* birth = new qv::qt::DateBox(form);
//     birth->setDateFormat(0);                        // DMY: 05.12.2024
//     birth->setDDate(QDate(2024, 12, 5));
//     bool ok = birth->setDDate(QDate(2150, 1, 1));   // false: outside 1900..2099, nothing changed
//     connect(birth, &qv::qt::DateBox::dateChanged, form, [](const QDate& d) { ... });
//
// Every property of the control is a Qt property under the control's own name; colours are
// QColors, enumerations ints, the bounds QDates, DateDMY/DateMDY/DateYMD QVariants (invalid while
// the text is no complete date). The whole typed interface is box(); events are the signals of
// ControlWidget, with dateChanged, textChanged and editingFinished as a QDateEdit has them.
//
// DDate is the user property (data binding: QDataWidgetMapper, item delegates): an invalid QDate
// is no date (a database NULL) both ways. A date the box cannot show there (before 1900 or after
// 2099) never turns into another date: the box empties, dateNotShown says which date and why,
// and DDate reads back that date through the property, so a record the user does not edit is
// written back unchanged. The first edit or shown date ends this state.
#pragma once

#include <QColor>
#include <QDate>
#include <QFont>
#include <QString>
#include <QVariant>

#include "datebox/QVDateBoxControl.h"
#include "hosts/qt/ControlWidget.h"

namespace qv::qt {

class DateBox : public PropertyWriteGate {
    Q_OBJECT
    Q_PROPERTY(QDate DDate READ boundDate WRITE writeBoundDate NOTIFY dateChanged USER true)
    Q_PROPERTY(QString Text READ Text WRITE writeText NOTIFY textChanged)
    Q_PROPERTY(int Alignment READ Alignment)
    Q_PROPERTY(int Appearance READ Appearance WRITE writeAppearance)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE writeBackColor)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE writeBorderStyle)
    Q_PROPERTY(bool CheckRange READ CheckRange WRITE writeCheckRange)
    Q_PROPERTY(QVariant DateDMY READ DateDMY WRITE writeDateDMY)
    Q_PROPERTY(int DateFormat READ DateFormat WRITE writeDateFormat)
    Q_PROPERTY(QVariant DateMDY READ DateMDY WRITE writeDateMDY)
    Q_PROPERTY(QVariant DateYMD READ DateYMD WRITE writeDateYMD)
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
    Q_PROPERTY(QDate LargestValue READ LargestValue WRITE writeLargestValue)
    Q_PROPERTY(bool Locked READ Locked WRITE writeLocked)
    Q_PROPERTY(int MaxLength READ MaxLength)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE writeMousePointer)
    Q_PROPERTY(bool MultiLine READ MultiLine)
    Q_PROPERTY(bool MustHaveValue READ MustHaveValue WRITE writeMustHaveValue)
    Q_PROPERTY(QString PasswordChar READ PasswordChar)
    Q_PROPERTY(int ScrollBars READ ScrollBars)
    Q_PROPERTY(bool SelectedOnGotFocus READ SelectedOnGotFocus WRITE writeSelectedOnGotFocus)
    Q_PROPERTY(QString SeparatorDMY READ SeparatorDMY WRITE writeSeparatorDMY)
    Q_PROPERTY(QString SeparatorMDY READ SeparatorMDY WRITE writeSeparatorMDY)
    Q_PROPERTY(QString SeparatorYMD READ SeparatorYMD WRITE writeSeparatorYMD)
    Q_PROPERTY(QDate SmallestValue READ SmallestValue WRITE writeSmallestValue)
    Q_PROPERTY(bool UseWarningColor READ UseWarningColor WRITE writeUseWarningColor)
    Q_PROPERTY(QColor WarningColor READ WarningColor WRITE writeWarningColor)

  public:
    // A new date box: defaults and the form's font.
    explicit DateBox(QWidget* parent = nullptr);
    // A date box loaded from stored properties (a form file).
    explicit DateBox(PropertyBag& bag, QWidget* parent = nullptr);

    QVDateBoxControl& box() const { return static_cast<QVDateBoxControl&>(control()); }

    int Alignment() const { return box().Alignment(); }
    bool HideSelection() const { return box().HideSelection(); }
    int MaxLength() const { return box().MaxLength(); }
    bool MultiLine() const { return box().MultiLine(); }
    QString PasswordChar() const { return ToQString(box().PasswordChar()); }
    int ScrollBars() const { return box().ScrollBars(); }

    Q_INVOKABLE bool CheckValueNow() { return box().CheckValueNow(); }

    // The date the box shows; invalid while the text is no complete date.
    QDate DDate() const { return ToQDate(box().DDate()); }
    bool setDDate(const QDate& v);
    // The bound date the box could not show; invalid when it shows its date.
    const QDate& unshownDate() const { return unshown_; }

  signals:
    void dateChanged(const QDate& date);
    void textChanged(const QString& text);
    // A date written through Qt's property system (data binding) could not be shown: the number
    // and description of the control's error.
    void dateNotShown(const QDate& date, int number, const QString& description);

  private:
    QDate boundDate() const { return unshown_.isValid() ? unshown_ : DDate(); }
    void writeBoundDate(const QDate& v);
    void changed() override;
    QDate unshown_;

  public:
    QV_QT_ACCESSORS(QString, Text, ToQString(box().Text().ToString()),
                    box().Text(Variant(FromQString(v))))
    QV_QT_ACCESSORS(int, Appearance, static_cast<int>(box().Appearance()),
                    box().Appearance(static_cast<Flat3d>(v)))
    QV_QT_ACCESSORS(QColor, BackColor, ToQColor(box().BackColor()), box().BackColor(ColorArg(v)))
    QV_QT_ACCESSORS(int, BorderStyle, static_cast<int>(box().BorderStyle()),
                    box().BorderStyle(static_cast<NoneFixedSingle>(v)))
    QV_QT_ACCESSORS(bool, CheckRange, box().CheckRange(), box().CheckRange(v))
    QV_QT_ACCESSORS(QVariant, DateDMY, ToQVariant(box().DateDMY()), box().DateDMY(FromQVariant(v)))
    QV_QT_ACCESSORS(int, DateFormat, static_cast<int>(box().DateFormat()),
                    box().DateFormat(static_cast<DateFmt>(v)))
    QV_QT_ACCESSORS(QVariant, DateMDY, ToQVariant(box().DateMDY()), box().DateMDY(FromQVariant(v)))
    QV_QT_ACCESSORS(QVariant, DateYMD, ToQVariant(box().DateYMD()), box().DateYMD(FromQVariant(v)))
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
    QV_QT_ACCESSORS(QDate, LargestValue, ToQDate(box().LargestValue()),
                    box().LargestValue(FromQDate(v).ToDate()))
    QV_QT_ACCESSORS(bool, Locked, box().Locked(), box().Locked(v))
    QV_QT_ACCESSORS(int, MousePointer, static_cast<int>(box().MousePointer()),
                    box().MousePointer(static_cast<MousePointerEnum>(v)))
    QV_QT_ACCESSORS(bool, MustHaveValue, box().MustHaveValue(), box().MustHaveValue(v))
    QV_QT_ACCESSORS(bool, SelectedOnGotFocus, box().SelectedOnGotFocus(),
                    box().SelectedOnGotFocus(v))
    QV_QT_ACCESSORS(QString, SeparatorDMY, ToQString(box().SeparatorDMY()),
                    box().SeparatorDMY(FromQString(v)))
    QV_QT_ACCESSORS(QString, SeparatorMDY, ToQString(box().SeparatorMDY()),
                    box().SeparatorMDY(FromQString(v)))
    QV_QT_ACCESSORS(QString, SeparatorYMD, ToQString(box().SeparatorYMD()),
                    box().SeparatorYMD(FromQString(v)))
    QV_QT_ACCESSORS(QDate, SmallestValue, ToQDate(box().SmallestValue()),
                    box().SmallestValue(FromQDate(v).ToDate()))
    QV_QT_ACCESSORS(bool, UseWarningColor, box().UseWarningColor(), box().UseWarningColor(v))
    QV_QT_ACCESSORS(QColor, WarningColor, ToQColor(box().WarningColor()),
                    box().WarningColor(ColorArg(v)))
};

}  // namespace qv::qt
