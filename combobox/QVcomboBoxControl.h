// QVcomboBoxControl: a text field over a drop-down list, with up to two buttons at its right end.
//
// In edit style the user types and the control completes from the list: Enter (or Button1, or
// leaving the field) looks the text up, takes the one item it names, or drops the list on the
// candidates; while the list is dropped the field keeps the longest typed prefix that an item
// begins with, and marks that item. In drop-down style (DropDownStyle, not locked, no database)
// the field only shows the chosen item: typed characters choose items by their initial, the arrow
// keys step through the list, Enter drops and closes it. In database mode (Connection, DataField
// and SqlQueryString set) the lookup runs a query and the list is filled from its rows, whose
// columns stay readable through Item.
//
// The items live in the list widget's ItemList (one model, shown by the host); the records of a
// database fill live in a RowCache beside it, row i for item i. The verdict (the text names an
// item, or may be empty) is shown by the background colour.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "combobox/RowCache.h"
#include "library/DataEntryControl.h"
#include "library/Enums.h"
#include "library/Variant.h"
#include "library/Widgets.h"

namespace qv {

class ResultSet;

struct ComboBoxEvents : ControlEvents {
    std::function<void()> DropDown;
    std::function<void()> Button1Click;
    std::function<void()> Button2Click;
    std::function<void()> ItemFound;
    std::function<void()> ItemNotFound;
    std::function<void()> ListClick;
};

class TextHeightTestForm;

class QVcomboBoxControl final : public DataEntryControl, private NoticeSink {
  public:
    explicit QVcomboBoxControl(Host& host);
    ~QVcomboBoxControl() override;

    // Events: typed slots; by-reference arguments come back to the control.
    ComboBoxEvents events;

    // --- Properties. A rejected write raises error 380 and changes nothing. -------------------
    int16_t Alignment() const { return 0; }
    Flat3d Appearance() const { return mAppearance; }
    void Appearance(Flat3d New_Appearance);
    NoneFixedSingle BorderStyle() const { return mBorderStyle; }
    void BorderStyle(NoneFixedSingle New_BorderStyle);
    bool Button1Visible() const { return mButton1Visible; }
    void Button1Visible(bool New_Button1Visible);
    bool Button2Visible() const { return mButton2Visible; }
    void Button2Visible(bool New_Button2Visible);
    // The application's connection object; the lookup runs on it in database mode.
    std::shared_ptr<Object> Connection() const { return mConnection; }
    void Connection(std::shared_ptr<Object> New_Connection);
    // -1 (the open call's default) or a value from 0 on.
    int16_t ConnectionLockType() const { return mLockType; }
    void ConnectionLockType(int16_t New_ConnectionLockType);
    int16_t ConnectionOption() const { return mOption; }
    void ConnectionOption(int16_t New_ConnectionOption);
    const String& DataField() const { return mDataField; }
    void DataField(const String& New_DataField);
    const String& DataIdField() const { return mDataIdField; }
    void DataIdField(const String& New_DataIdField);
    bool DropDownStyle() const { return mDropDownStyle; }
    void DropDownStyle(bool New_DropDownStyle) { mDropDownStyle = New_DropDownStyle; }
    bool Enabled() const { return ccText.Enabled(); }
    void Enabled(bool New_Enabled);
    const String& ForbiddenCharacters() const { return mForbiddenCharacters; }
    void ForbiddenCharacters(const String& New_ForbiddenCharacters);
    Color ForeColor() const { return ccText.ForeColor(); }
    void ForeColor(Color New_ForeColor);
    bool IntegralHeight() const { return true; }
    bool ListBoxDropped() const { return ccCombo.Dropped(); }
    bool Locked() const { return ccText.Locked(); }
    void Locked(bool New_Locked);
    int16_t MaxLength() const { return static_cast<int16_t>(ccText.MaxLength()); }
    void MaxLength(int16_t New_MaxLength);
    int32_t MinLen() const { return mMinLen; }
    void MinLen(int32_t New_MinLen);
    std::shared_ptr<Picture> MouseIcon() const { return ccText.MouseIcon(); }
    void MouseIcon(std::shared_ptr<Picture> New_MouseIcon);
    MousePointerEnum MousePointer() const {
        return static_cast<MousePointerEnum>(ccText.MousePointer());
    }
    void MousePointer(MousePointerEnum New_MousePointer);
    bool MultiLine() const { return false; }
    bool MustFitDataList() const { return mMustFitDataList; }
    void MustFitDataList(bool New_MustFitDataList);
    bool MustHaveValue() const { return mMustHaveValue; }
    void MustHaveValue(bool New_MustHaveValue);
    bool NullToEmptyString() const { return true; }
    String PasswordChar() const { return String(); }
    int16_t ScrollBars() const { return 0; }
    bool SelectedOnGotFocus() const { return mSelectedOnGotFocus; }
    void SelectedOnGotFocus(bool New_SelectedOnGotFocus);
    int32_t SelLength() const { return ccText.SelLength(); }
    void SelLength(int32_t New_SelLength);
    int32_t SelStart() const { return ccText.SelStart(); }
    void SelStart(int32_t New_SelStart);
    String SelText() const { return ccText.SelText(); }
    void SelText(const String& New_SelText);
    const String& SqlQueryString() const { return mSqlQueryString; }
    void SqlQueryString(const String& New_SqlQueryString);
    // The field's text. A write takes null (the empty text) or any value with a text form, and
    // is trimmed (both sides with Trim set, else on the right); other values raise 380.
    Variant Text() const { return ccText.Text(); }
    void Text(const Variant& New_Text);
    String TextFormatted() const;
    const String& ToolTipTextButton1() const { return Button1().ToolTipText(); }
    void ToolTipTextButton1(const String& New_ToolTipTextButton1);
    const String& ToolTipTextButton2() const { return mToolTipTextButton2; }
    void ToolTipTextButton2(const String& New_ToolTipTextButton2);
    bool Trim() const { return mTrim; }
    void Trim(bool New_Trim);

    // --- The list. Invalid indexes and values raise 380 and change nothing. ---------------
    String List(int32_t Index) const;
    void List(int32_t Index, const String& New_List);
    int32_t ItemData(int32_t Index) const;
    void ItemData(int32_t Index, int32_t New_ItemData);
    int32_t ListIndex() const { return Items().Selected(); }
    void ListIndex(int32_t New_ListIndex);
    int32_t ListCount() const { return Items().Count(); }
    int32_t NewIndex() const { return Items().NewIndex(); }
    // One value of an item's record: ItemIndex names the column (a number, or the DataField,
    // the DataIdField or a column name); Index the row (Missing or Null: the selected item).
    Variant Item(const Variant& ItemIndex, const Variant& Index = Variant::Missing()) const;
    void Item(const Variant& ItemIndex, const Variant& Index, const Variant& New_Item);

    void AddItem(const String& Item, const Variant& Index = Variant::Missing());
    void RemoveItem(int32_t Index);
    void Clear();
    void SetItem(const Variant& New_Text, int32_t New_ItemData);
    // The index of the first item whose data equals the value (SearchItemData) or whose text
    // equals / begins with it (SearchItemText, WholeWord / Partial; item 0 is examined last);
    // -1 for no match or a value without that type.
    Variant FindItem(const Variant& SearchValue, SearchItemEnum SearchItem,
                     MatchModeEnum MatchMode = MatchModeEnum::WholeWord) const;

    // --- Methods --------------------------------------------------------------------------
    void StartQuery();
    void CompleteNow();
    void FormatText();
    bool CheckValueNow() override;
    void ForceCheckDbOnLostFocus() { mUnchecked = true; }
    void Refresh();
    void ShowAboutBox();

    // --- Container notices ------------------------------------------------------------------
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(PropertyBag& PropBag) override;
    void UserControl_WriteProperties(PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_EnterFocus() override;
    void UserControl_ExitFocus() override;

    const ClassInfo& Class() const override;
    const MemberTable& Members() const override { return MemberTableOf(); }
    static const MemberTable& MemberTableOf();

    // The constituents, for hosts and tests. Button2 is nullptr while it does not exist.
    TextField& TextBox() const { return ccText; }
    ListWidget& ListBox() const { return ccCombo; }
    ButtonWidget& Button1() const { return *ccButton[0]; }
    ButtonWidget* Button2() const { return mButton2Exists ? ccButton[1] : nullptr; }
    TimerWidget& Timer() const { return Timer1; }
    const RowCache& Cache() const { return mCache; }
    RowCache& Cache() { return mCache; }
    bool HasFocus() const { return mHasFocus; }
    // Database mode: DataField and SqlQueryString not blank, and a connection.
    bool IsDatabaseMode() const;

  private:
    // Element indexes of the constituents at the shared notice sink.
    enum Part : int16_t { kText, kCombo, kButton1, kButton2, kBorder0, kBorder1, kFrame, kTimer };

    // --- NoticeSink: every constituent's notices, told apart by their element index --------
    void KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void KeyPress(int16_t Index, int16_t& KeyAscii) override;
    void KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void Change(int16_t Index) override;
    void Click(int16_t Index) override;
    void DblClick(int16_t Index) override;
    void GotFocus(int16_t Index) override;
    void LostFocus(int16_t Index) override;
    void MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y) override;
    void MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y) override;
    void MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y) override;
    void Timer(int16_t Index) override;
    void DropDown(int16_t Index) override;

    void ccText_KeyDown(int16_t& KeyCode, int16_t& Shift);
    void ccText_KeyPress(int16_t& KeyAscii);
    void ccText_KeyUp(int16_t& KeyCode, int16_t& Shift);
    void ccText_Change();
    void ccText_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void ccButton_MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y);
    void Timer1_Timer();
    // Whether Timer1 ticked within the last 0.3 s: a click that closed the list came then.
    bool TickedRecently() const;
    void mFont_FontChanged(const String& PropertyName) override;
    // After creation or loading: enabled states, layout, colours, pointers.
    void StartUp();

    ItemList& Items() const { return ccCombo.Items(); }
    // The field's text right-trimmed, and left-trimmed too with Trim set.
    String SearchText() const;
    bool IsDropDownStyle() const;
    bool Judge();
    // The run-query procedure: the database lookup or the plain search in the list.
    void RunQuery();
    void RunPlainQuery();
    void RunDatabaseQuery();
    // The database lookup's parts: the kind of connection ("rdo", "db", "con" or ""), the SQL
    // text, the open call (nullptr when it failed) and the fill of list and cache.
    String ConnectionKind() const;
    String SqlText() const;
    std::shared_ptr<Object> OpenResultSet();
    void FillFrom(const std::shared_ptr<Object>& resultSet);
    void FillFromRows(const ResultSet& resultSet);
    // Takes the selected item into the field (ItemFound), then ListClick unless suppressed.
    void ListClickHandling();
    // Selects `index` with the no-list-click flag set: the item is taken without ListClick.
    void TakeItem(int32_t index);
    void SelectQuietly(int32_t index);
    void DropList();
    void CloseList();  // keeps the selection
    void CloseListQuietly();
    void CaretToEnd();
    void FocusText();
    void UpdateButtonsEnabled();
    void UpdateEnabledState();
    void RaiseItemFound();
    void RaiseItemNotFound();

    // --- Layout (the layout file) ---------------------------------------------------------
    int32_t BorderWidth() const;
    void LayoutButtons(int32_t W, int32_t H, int32_t b);
    void PlaceList();
    void CreateButton2();
    void RemoveButton2();
    void FitGlyph(TextHeightTestForm& form, ButtonWidget& button, int32_t b);
    void ApplyFont();
    void ApplyPointer();

    void RaiseMouse(const char16_t* name,
                    const std::function<void(int16_t&, int16_t&, float&, float&)>& slot,
                    int16_t& Button, int16_t& Shift, float& X, float& Y);

    // The constituents, in creation order: the list lies under the frame, the field and the
    // buttons, so that only its drop-down part is ever seen.
    ListWidget& ccCombo;
    Label& ccFrame;
    Label* ccBorder[2];
    TextField& ccText;
    ButtonWidget* ccButton[2];
    TimerWidget& Timer1;
    bool mButton2Exists = false;  // Button2 is made once and kept, hidden, while it is removed

    RowCache mCache;

    Flat3d mAppearance = Flat3d::qv3D;
    NoneFixedSingle mBorderStyle = NoneFixedSingle::FixedSingle;
    bool mButton1Visible = true;
    bool mButton2Visible = true;
    std::shared_ptr<Object> mConnection;
    bool mDropDownStyle = false;
    int16_t mLockType = -1;
    int16_t mOption = -1;
    String mDataField, mDataIdField, mSqlQueryString, mForbiddenCharacters, mToolTipTextButton2;
    int32_t mMinLen = 0;
    bool mMustFitDataList = true;
    bool mMustHaveValue = false;
    bool mSelectedOnGotFocus = false;
    bool mTrim = true;

    // Flags of the editing state.
    bool mHasFocus = false;
    bool mUnchecked = false;
    bool mQuiet = false;
    bool mNoListClick = false;
    bool mFromList = false;
    bool mNoChangeEvent = false;
    bool mKeepCaret = false;
    float mFocusTime = 0;
    std::optional<float> mLastTick;  // none since the focus came
};

}  // namespace qv
