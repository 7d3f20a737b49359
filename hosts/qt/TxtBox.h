// qv::qt::TxtBox: the text box as a Qt widget.
//
//     auto* name = new qv::qt::TxtBox(form);
//     name->setAllUcase(true);
//     bool ok = name->setMaxLength(-1);              // false: refused (380), nothing changed
//     name->setProperty("MaxLength", 20);            // false when refused, nothing changed
//     connect(name, &qv::qt::TxtBox::ValidationCheck, form, [](bool& ok) { ... });
//
// Every property of the control is a Qt property under the control's own name; colours are
// QColors (system colours read back resolved from the palette), enumerations ints. The whole
// typed interface is box(); events are the signals of ControlWidget, with textChanged and
// editingFinished as a QLineEdit has them.
//
// Text is the user property (data binding: QDataWidgetMapper, item delegates), a QVariant holding
// a string there. Until the user edits the box, it reads back exactly what was last written to
// it through this widget, so a record the user only passed through is written back unchanged even
// where the box formats what it shows (trimming, a capital first letter), and a null (a database
// NULL) stays null. Text() and setText() are the typed QString accessors.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariant>
#include <optional>

#include "hosts/qt/ControlWidget.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv::qt {

class TxtBox : public PropertyWriteGate {
    Q_OBJECT
    Q_PROPERTY(QVariant Text READ boundText WRITE writeBoundText NOTIFY textChanged USER true)
    Q_PROPERTY(int Alignment READ Alignment)
    Q_PROPERTY(bool AllUcase READ AllUcase WRITE writeAllUcase)
    Q_PROPERTY(int Appearance READ Appearance WRITE writeAppearance)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE writeBackColor)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE writeBorderStyle)
    Q_PROPERTY(QColor DisabledColor READ DisabledColor WRITE writeDisabledColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE writeEnabled)
    Q_PROPERTY(QColor ErrorColor READ ErrorColor WRITE writeErrorColor)
    Q_PROPERTY(
        bool FirstCharacterCapital READ FirstCharacterCapital WRITE writeFirstCharacterCapital)
    Q_PROPERTY(QColor FocusColor READ FocusColor WRITE writeFocusColor)
    Q_PROPERTY(QString ForbiddenCharacters READ ForbiddenCharacters WRITE writeForbiddenCharacters)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE writeForeColor)
    Q_PROPERTY(QFont Font READ Font WRITE writeFont)
    Q_PROPERTY(bool FontBold READ FontBold WRITE writeFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE writeFontItalic)
    Q_PROPERTY(QString FontName READ FontName WRITE writeFontName)
    Q_PROPERTY(double FontSize READ FontSize WRITE writeFontSize)
    Q_PROPERTY(bool FontStrikethru READ FontStrikethru WRITE writeFontStrikethru)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE writeFontUnderline)
    Q_PROPERTY(bool HideSelection READ HideSelection)
    Q_PROPERTY(bool Locked READ Locked WRITE writeLocked)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE writeMaxLength)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE writeMousePointer)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE writeMultiLine)
    Q_PROPERTY(bool MustHaveValue READ MustHaveValue WRITE writeMustHaveValue)
    Q_PROPERTY(bool NullToEmptyString READ NullToEmptyString WRITE writeNullToEmptyString)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE writePasswordChar)
    Q_PROPERTY(int ScrollBars READ ScrollBars WRITE writeScrollBars)
    Q_PROPERTY(bool SelectedOnGotFocus READ SelectedOnGotFocus WRITE writeSelectedOnGotFocus)
    Q_PROPERTY(int SelLength READ SelLength WRITE writeSelLength)
    Q_PROPERTY(int SelStart READ SelStart WRITE writeSelStart)
    Q_PROPERTY(QString SelText READ SelText WRITE writeSelText)
    Q_PROPERTY(QString TextFormatted READ TextFormatted)
    Q_PROPERTY(bool Trim READ Trim WRITE writeTrim)
    Q_PROPERTY(bool UseWarningColor READ UseWarningColor WRITE writeUseWarningColor)
    Q_PROPERTY(QColor WarningColor READ WarningColor WRITE writeWarningColor)

  public:
    // A new text box: defaults and the form's font.
    explicit TxtBox(QWidget* parent = nullptr);
    // A text box loaded from stored properties (a form file).
    explicit TxtBox(PropertyBag& bag, QWidget* parent = nullptr);

    QVtxtBoxControl& box() const { return static_cast<QVtxtBoxControl&>(control()); }
    // Null when NullToEmptyString is off and the box was emptied by a null write.
    bool isNull() const { return box().IsNull(); }

    int Alignment() const { return box().Alignment(); }
    bool HideSelection() const { return box().HideSelection(); }
    QString TextFormatted() const { return ToQString(box().TextFormatted()); }

    Q_INVOKABLE bool CheckValueNow() { return box().CheckValueNow(); }
    Q_INVOKABLE void FormatText() { box().FormatText(); }

    // The text as the box holds it.
    QString Text() const {
        return ToQString(box().Text().IsNull() ? String() : box().Text().ToString());
    }
    bool setText(const QString& v);

  signals:
    void textChanged(const QString& text);

  private:
    // The user property: what was written, until the user edits.
    QVariant boundText() const { return written_.Read(Text()); }
    void writeBoundText(const QVariant& v);
    void changed() override;
    WrittenText written_;

  public:
    QV_QT_ACCESSORS(bool, AllUcase, box().AllUcase(), box().AllUcase(v))
    QV_QT_ACCESSORS(int, Appearance, static_cast<int>(box().Appearance()),
                    box().Appearance(static_cast<Flat3d>(v)))
    QV_QT_ACCESSORS(QColor, BackColor, ToQColor(box().BackColor()), box().BackColor(ColorArg(v)))
    QV_QT_ACCESSORS(int, BorderStyle, static_cast<int>(box().BorderStyle()),
                    box().BorderStyle(static_cast<NoneFixedSingle>(v)))
    QV_QT_ACCESSORS(QColor, DisabledColor, ToQColor(box().DisabledColor()),
                    box().DisabledColor(ColorArg(v)))
    QV_QT_ACCESSORS(bool, Enabled, box().Enabled(), box().Enabled(v))
    QV_QT_ACCESSORS(QColor, ErrorColor, ToQColor(box().ErrorColor()), box().ErrorColor(ColorArg(v)))
    QV_QT_ACCESSORS(bool, FirstCharacterCapital, box().FirstCharacterCapital(),
                    box().FirstCharacterCapital(v))
    QV_QT_ACCESSORS(QColor, FocusColor, ToQColor(box().FocusColor()), box().FocusColor(ColorArg(v)))
    QV_QT_ACCESSORS(QString, ForbiddenCharacters, ToQString(box().ForbiddenCharacters()),
                    box().ForbiddenCharacters(FromQString(v)))
    QV_QT_ACCESSORS(QColor, ForeColor, ToQColor(box().ForeColor()), box().ForeColor(ColorArg(v)))
    QV_QT_ACCESSORS(QFont, Font, ToQFont(*box().Font()), box().Font(FontArg(v)))
    QV_QT_ACCESSORS(bool, FontBold, box().FontBold(), box().FontBold(v))
    QV_QT_ACCESSORS(bool, FontItalic, box().FontItalic(), box().FontItalic(v))
    QV_QT_ACCESSORS(QString, FontName, ToQString(box().FontName()), box().FontName(FromQString(v)))
    QV_QT_ACCESSORS(double, FontSize, box().FontSize(), box().FontSize(static_cast<float>(v)))
    QV_QT_ACCESSORS(bool, FontStrikethru, box().FontStrikethru(), box().FontStrikethru(v))
    QV_QT_ACCESSORS(bool, FontUnderline, box().FontUnderline(), box().FontUnderline(v))
    QV_QT_ACCESSORS(bool, Locked, box().Locked(), box().Locked(v))
    QV_QT_ACCESSORS(int, MaxLength, box().MaxLength(), box().MaxLength(Int16Arg(v)))
    QV_QT_ACCESSORS(int, MousePointer, static_cast<int>(box().MousePointer()),
                    box().MousePointer(static_cast<MousePointerEnum>(v)))
    QV_QT_ACCESSORS(bool, MultiLine, box().MultiLine(), box().MultiLine(v))
    QV_QT_ACCESSORS(bool, MustHaveValue, box().MustHaveValue(), box().MustHaveValue(v))
    QV_QT_ACCESSORS(bool, NullToEmptyString, box().NullToEmptyString(), box().NullToEmptyString(v))
    QV_QT_ACCESSORS(QString, PasswordChar, ToQString(box().PasswordChar()),
                    box().PasswordChar(FromQString(v)))
    QV_QT_ACCESSORS(int, ScrollBars, static_cast<int>(box().ScrollBars()),
                    box().ScrollBars(static_cast<ScrollBarsEnum>(v)))
    QV_QT_ACCESSORS(bool, SelectedOnGotFocus, box().SelectedOnGotFocus(),
                    box().SelectedOnGotFocus(v))
    QV_QT_ACCESSORS(int, SelLength, box().SelLength(), box().SelLength(v))
    QV_QT_ACCESSORS(int, SelStart, box().SelStart(), box().SelStart(v))
    QV_QT_ACCESSORS(QString, SelText, ToQString(box().SelText()), box().SelText(FromQString(v)))
    QV_QT_ACCESSORS(bool, Trim, box().Trim(), box().Trim(v))
    QV_QT_ACCESSORS(bool, UseWarningColor, box().UseWarningColor(), box().UseWarningColor(v))
    QV_QT_ACCESSORS(QColor, WarningColor, ToQColor(box().WarningColor()),
                    box().WarningColor(ColorArg(v)))
};

}  // namespace qv::qt
