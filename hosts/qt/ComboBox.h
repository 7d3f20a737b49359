// qv::qt::ComboBox: the combo box as a Qt widget.
//
//     auto* country = new qv::qt::ComboBox(form);
//     country->addItems({"Austria", "Germany", "Switzerland"});
//     country->setMustFitDataList(true);          // only a listed country is a value
//     connect(country, &qv::qt::ComboBox::ItemFound, form, [country] { ... country->ListIndex() });
//     bool ok = country->setListIndex(7);         // false: no such item (380), nothing changed
//
// Every property of the control is a Qt property under the control's own name; colours are
// QColors, enumerations ints. The whole typed interface is box() (the connection object, the
// records behind Item); events are the signals of ControlWidget and of this class, with
// textChanged and editingFinished as a QLineEdit has them.
//
// The list drops below the control and shows the control's own items (a view of them, never a
// copy); while it is dropped the keys stay in the field. Text is the user property (data
// binding): until the user edits the box it reads back what was last written through this
// widget, so a record the user only passed through is written back unchanged although the box
// trims what it shows.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "combobox/QVcomboBoxControl.h"
#include "hosts/qt/ControlWidget.h"

namespace qv::qt {

class ComboBox : public PropertyWriteGate {
    Q_OBJECT
    Q_PROPERTY(QVariant Text READ boundText WRITE writeBoundText NOTIFY textChanged USER true)
    Q_PROPERTY(int Alignment READ Alignment)
    Q_PROPERTY(int Appearance READ Appearance WRITE writeAppearance)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE writeBackColor)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE writeBorderStyle)
    Q_PROPERTY(bool Button1Visible READ Button1Visible WRITE writeButton1Visible)
    Q_PROPERTY(bool Button2Visible READ Button2Visible WRITE writeButton2Visible)
    Q_PROPERTY(int ConnectionLockType READ ConnectionLockType WRITE writeConnectionLockType)
    Q_PROPERTY(int ConnectionOption READ ConnectionOption WRITE writeConnectionOption)
    Q_PROPERTY(QString DataField READ DataField WRITE writeDataField)
    Q_PROPERTY(QString DataIdField READ DataIdField WRITE writeDataIdField)
    Q_PROPERTY(QColor DisabledColor READ DisabledColor WRITE writeDisabledColor)
    Q_PROPERTY(bool DropDownStyle READ DropDownStyle WRITE writeDropDownStyle)
    Q_PROPERTY(bool Enabled READ Enabled WRITE writeEnabled)
    Q_PROPERTY(QColor ErrorColor READ ErrorColor WRITE writeErrorColor)
    Q_PROPERTY(QColor FocusColor READ FocusColor WRITE writeFocusColor)
    Q_PROPERTY(QFont Font READ Font WRITE writeFont)
    Q_PROPERTY(bool FontBold READ FontBold WRITE writeFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE writeFontItalic)
    Q_PROPERTY(QString FontName READ FontName WRITE writeFontName)
    Q_PROPERTY(double FontSize READ FontSize WRITE writeFontSize)
    Q_PROPERTY(bool FontStrikethru READ FontStrikethru WRITE writeFontStrikethru)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE writeFontUnderline)
    Q_PROPERTY(QString ForbiddenCharacters READ ForbiddenCharacters WRITE writeForbiddenCharacters)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE writeForeColor)
    Q_PROPERTY(bool IntegralHeight READ IntegralHeight)
    Q_PROPERTY(bool ListBoxDropped READ ListBoxDropped)
    Q_PROPERTY(int ListCount READ ListCount)
    Q_PROPERTY(int ListIndex READ ListIndex WRITE writeListIndex)
    Q_PROPERTY(bool Locked READ Locked WRITE writeLocked)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE writeMaxLength)
    Q_PROPERTY(int MinLen READ MinLen WRITE writeMinLen)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE writeMousePointer)
    Q_PROPERTY(bool MultiLine READ MultiLine)
    Q_PROPERTY(bool MustFitDataList READ MustFitDataList WRITE writeMustFitDataList)
    Q_PROPERTY(bool MustHaveValue READ MustHaveValue WRITE writeMustHaveValue)
    Q_PROPERTY(int NewIndex READ NewIndex)
    Q_PROPERTY(bool NullToEmptyString READ NullToEmptyString)
    Q_PROPERTY(QString PasswordChar READ PasswordChar)
    Q_PROPERTY(int ScrollBars READ ScrollBars)
    Q_PROPERTY(int SelLength READ SelLength WRITE writeSelLength)
    Q_PROPERTY(int SelStart READ SelStart WRITE writeSelStart)
    Q_PROPERTY(QString SelText READ SelText WRITE writeSelText)
    Q_PROPERTY(bool SelectedOnGotFocus READ SelectedOnGotFocus WRITE writeSelectedOnGotFocus)
    Q_PROPERTY(QString SqlQueryString READ SqlQueryString WRITE writeSqlQueryString)
    Q_PROPERTY(QString TextFormatted READ TextFormatted)
    Q_PROPERTY(QString ToolTipTextButton1 READ ToolTipTextButton1 WRITE writeToolTipTextButton1)
    Q_PROPERTY(QString ToolTipTextButton2 READ ToolTipTextButton2 WRITE writeToolTipTextButton2)
    Q_PROPERTY(bool Trim READ Trim WRITE writeTrim)
    Q_PROPERTY(bool UseWarningColor READ UseWarningColor WRITE writeUseWarningColor)
    Q_PROPERTY(QColor WarningColor READ WarningColor WRITE writeWarningColor)

  public:
    // A new combo box: defaults and the form's font.
    explicit ComboBox(QWidget* parent = nullptr);
    // A combo box loaded from stored properties (a form file).
    explicit ComboBox(PropertyBag& bag, QWidget* parent = nullptr);

    QVcomboBoxControl& box() const { return static_cast<QVcomboBoxControl&>(control()); }

    int Alignment() const { return box().Alignment(); }
    bool IntegralHeight() const { return box().IntegralHeight(); }
    bool ListBoxDropped() const { return box().ListBoxDropped(); }
    int ListCount() const { return box().ListCount(); }
    bool MultiLine() const { return box().MultiLine(); }
    int NewIndex() const { return box().NewIndex(); }
    bool NullToEmptyString() const { return box().NullToEmptyString(); }
    QString PasswordChar() const { return ToQString(box().PasswordChar()); }
    int ScrollBars() const { return box().ScrollBars(); }
    QString TextFormatted() const { return ToQString(box().TextFormatted()); }

    // The text as the field holds it.
    QString Text() const { return ToQString(box().TextBox().Text()); }
    bool setText(const QString& v);

    // --- The list. Writes return false when refused (nothing changed). --------------------
    // Appends, or inserts before `index` (-1: at the end).
    Q_INVOKABLE bool AddItem(const QString& item, int index = -1);
    // Appends many items at once.
    Q_INVOKABLE void addItems(const QStringList& items);
    Q_INVOKABLE bool RemoveItem(int index);
    Q_INVOKABLE void Clear();
    Q_INVOKABLE void SetItem(const QString& text, int itemData);
    Q_INVOKABLE QString List(int index) const { return ToQString(box().List(index)); }
    Q_INVOKABLE bool setList(int index, const QString& text);
    Q_INVOKABLE int ItemData(int index) const { return box().ItemData(index); }
    Q_INVOKABLE bool setItemData(int index, int data);
    // One value of an item's record (a column number or name; the row, or the chosen item).
    Q_INVOKABLE QVariant Item(const QVariant& itemIndex, const QVariant& index = {}) const;
    Q_INVOKABLE bool setItem(const QVariant& itemIndex, const QVariant& index,
                             const QVariant& value);
    // The first item whose text equals (matchMode 0) or begins with (1) the value, or whose item
    // data equals it (searchItem 1); -1 when none.
    Q_INVOKABLE int FindItem(const QVariant& value, int searchItem = 0, int matchMode = 0) const;

    Q_INVOKABLE bool CheckValueNow() { return box().CheckValueNow(); }
    Q_INVOKABLE void CompleteNow();
    Q_INVOKABLE void FormatText();
    Q_INVOKABLE void ForceCheckDbOnLostFocus() { box().ForceCheckDbOnLostFocus(); }
    Q_INVOKABLE void StartQuery();

  signals:
    void DropDown();
    void Button1Click();
    void Button2Click();
    void ItemFound();
    void ItemNotFound();
    void ListClick();
    void textChanged(const QString& text);

  private:
    void connectComboEvents(ComboBoxEvents& e);
    QVariant boundText() const { return written_.Read(Text()); }
    void writeBoundText(const QVariant& v);
    void changed() override;
    WrittenText written_;

  public:
    QV_QT_ACCESSORS(int, Appearance, static_cast<int>(box().Appearance()),
                    box().Appearance(static_cast<Flat3d>(v)))
    QV_QT_ACCESSORS(QColor, BackColor, ToQColor(box().BackColor()), box().BackColor(ColorArg(v)))
    QV_QT_ACCESSORS(int, BorderStyle, static_cast<int>(box().BorderStyle()),
                    box().BorderStyle(static_cast<NoneFixedSingle>(v)))
    QV_QT_ACCESSORS(bool, Button1Visible, box().Button1Visible(), box().Button1Visible(v))
    QV_QT_ACCESSORS(bool, Button2Visible, box().Button2Visible(), box().Button2Visible(v))
    QV_QT_ACCESSORS(int, ConnectionLockType, box().ConnectionLockType(),
                    box().ConnectionLockType(Int16Arg(v)))
    QV_QT_ACCESSORS(int, ConnectionOption, box().ConnectionOption(),
                    box().ConnectionOption(Int16Arg(v)))
    QV_QT_ACCESSORS(QString, DataField, ToQString(box().DataField()),
                    box().DataField(FromQString(v)))
    QV_QT_ACCESSORS(QString, DataIdField, ToQString(box().DataIdField()),
                    box().DataIdField(FromQString(v)))
    QV_QT_ACCESSORS(QColor, DisabledColor, ToQColor(box().DisabledColor()),
                    box().DisabledColor(ColorArg(v)))
    QV_QT_ACCESSORS(bool, DropDownStyle, box().DropDownStyle(), box().DropDownStyle(v))
    QV_QT_ACCESSORS(bool, Enabled, box().Enabled(), box().Enabled(v))
    QV_QT_ACCESSORS(QColor, ErrorColor, ToQColor(box().ErrorColor()), box().ErrorColor(ColorArg(v)))
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
    QV_QT_ACCESSORS(int, ListIndex, box().ListIndex(), box().ListIndex(v))
    QV_QT_ACCESSORS(bool, Locked, box().Locked(), box().Locked(v))
    QV_QT_ACCESSORS(int, MaxLength, box().MaxLength(), box().MaxLength(Int16Arg(v)))
    QV_QT_ACCESSORS(int, MinLen, box().MinLen(), box().MinLen(v))
    QV_QT_ACCESSORS(int, MousePointer, static_cast<int>(box().MousePointer()),
                    box().MousePointer(static_cast<MousePointerEnum>(v)))
    QV_QT_ACCESSORS(bool, MustFitDataList, box().MustFitDataList(), box().MustFitDataList(v))
    QV_QT_ACCESSORS(bool, MustHaveValue, box().MustHaveValue(), box().MustHaveValue(v))
    QV_QT_ACCESSORS(bool, SelectedOnGotFocus, box().SelectedOnGotFocus(),
                    box().SelectedOnGotFocus(v))
    QV_QT_ACCESSORS(int, SelLength, box().SelLength(), box().SelLength(v))
    QV_QT_ACCESSORS(int, SelStart, box().SelStart(), box().SelStart(v))
    QV_QT_ACCESSORS(QString, SelText, ToQString(box().SelText()), box().SelText(FromQString(v)))
    QV_QT_ACCESSORS(QString, SqlQueryString, ToQString(box().SqlQueryString()),
                    box().SqlQueryString(FromQString(v)))
    QV_QT_ACCESSORS(QString, ToolTipTextButton1, ToQString(box().ToolTipTextButton1()),
                    box().ToolTipTextButton1(FromQString(v)))
    QV_QT_ACCESSORS(QString, ToolTipTextButton2, ToQString(box().ToolTipTextButton2()),
                    box().ToolTipTextButton2(FromQString(v)))
    QV_QT_ACCESSORS(bool, Trim, box().Trim(), box().Trim(v))
    QV_QT_ACCESSORS(bool, UseWarningColor, box().UseWarningColor(), box().UseWarningColor(v))
    QV_QT_ACCESSORS(QColor, WarningColor, ToQColor(box().WarningColor()),
                    box().WarningColor(ColorArg(v)))
};

}  // namespace qv::qt
