// The Qt host: the container services on Qt Widgets.
//
// Each control lives in a ControlWidget (its surface on a Qt form) whose QtSite is the control's
// qv::Host. Services shared by all sites (focus order, the clock, beeps, error reporting) live in
// QtServices, one per application.
//
// Notices follow the container's order: a focus change gives the old field's LostFocus, the old
// control's ExitFocus, the new control's EnterFocus and the new field's GotFocus; keys reach the
// control before the Qt editor acts. Control code never throws into Qt: an exception from a
// notice goes to QtServices' error handler (by default a warning on stderr).
#pragma once

#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QWidget>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "hosts/qt/QtWidgets.h"
#include "library/Control.h"
#include "library/Host.h"

namespace qv::qt {

class ControlWidget;

class QtSite;

// Widgets created on a surface (a control's or a hidden form's), owned in creation order; later
// widgets (lines and shapes included) lie on top. A reusing store (a hidden form's) hands out the
// widget it already has under a name and index instead of making another.
class QtWidgetStore {
  public:
    QtWidgetStore(QtSite* site, QWidget* surface, bool reuse = false)
        : site_(site), surface_(surface), reuse_(reuse) {}
    TextField& CreateTextField(const String& name, int16_t index, const TextFieldSettings& s);
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& s);
    ListWidget& CreateList(const String& name, int16_t index, const ListSettings& s);
    ButtonWidget& CreateButton(const String& name, int16_t index);
    TimerWidget& CreateTimer(const String& name);
    PictureSurface& CreatePictureSurface(const String& name);
    LineWidget& CreateLine(const String& name);
    ShapeWidget& CreateShape(const String& name);
    // The items with the widget interface, in creation order.
    const std::vector<std::unique_ptr<QtWidgetItem>>& Items() const { return items_; }
    // Lines and shapes, in creation order.
    const std::vector<std::unique_ptr<QtSurfaceItem>>& Drawings() const { return drawings_; }
    QtWidgetItem* Find(StringView name, int16_t index) const;
    // Whether one of the lists is dropped down.
    bool AnyListDropped() const;
    // Puts a newly made Qt widget into creation order among those already made, and a field
    // into the focus chain after its control and the fields before it.
    void Stack(QtSurfaceItem& item);
    // Makes the Qt widgets of the visible items (the surface is being shown).
    void MaterializeVisible();
    // Draws the visible drawn items that meet `dirty`, in creation order.
    void PaintDrawn(QPainter& p, const QRect& dirty) const;
    // The topmost visible drawn item at `pos` (pixels) that takes the mouse, or nullptr.
    QtWidgetItem* DrawnItemAt(QPoint pos) const;

  private:
    template <class W, class... Args>
    W& Add(const String& name, int16_t index, Args&&... args);
    template <class W>
    W& AddDrawing(const String& name);
    QtSite* site_;
    QWidget* surface_;
    bool reuse_;
    std::vector<std::unique_ptr<QtWidgetItem>> items_;
    std::vector<std::unique_ptr<QtSurfaceItem>> drawings_;
    std::vector<std::pair<String, std::unique_ptr<QtTimer>>> timers_;
    std::vector<QtSurfaceItem*> order_;  // items and drawings in creation order
};

// A hidden form (the measuring form): a QWidget that is never shown, with its own widgets.
//
// Loading one for every layout pass would create and destroy Qt widgets each time, which costs
// milliseconds per control on a large form (Qt scans its posted events on every deletion). So the
// host keeps unloaded hidden forms with their widgets and hands them out again at the next load of
// the same name: the widgets keep the state the last user left (a measuring form sets what it
// measures with).
class QtHiddenForm final : public Form {
  public:
    struct Pooled {
        Pooled(String n, QWidget* w) : name(std::move(n)), widget(w), store(nullptr, w, true) {}
        ~Pooled();
        String name;
        QPointer<QWidget> widget;  // Qt may delete top-level widgets on its own at exit
        QtWidgetStore store;
        bool loaded = false;
    };
    explicit QtHiddenForm(Pooled& pooled);
    ~QtHiddenForm() override;
    const String& Name() const override { return pooled_.name; }
    // A measuring form is never shown: it keeps a caption and a size, and ShowModal returns.
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override { caption_ = v; }
    void Size(int32_t, int32_t) override {}
    void ShowModal() override {}
    void Unload() override {}
    TextField& CreateTextField(const String& name, int16_t index,
                               const TextFieldSettings& s) override {
        return pooled_.store.CreateTextField(name, index, s);
    }
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& s) override {
        return pooled_.store.CreateLabel(name, index, s);
    }
    ListWidget& CreateList(const String& name, int16_t index, const ListSettings& s) override {
        return pooled_.store.CreateList(name, index, s);
    }
    ButtonWidget& CreateButton(const String& name, int16_t index) override {
        return pooled_.store.CreateButton(name, index);
    }
    TimerWidget& CreateTimer(const String& name) override {
        return pooled_.store.CreateTimer(name);
    }
    PictureSurface& CreatePictureSurface(const String& name) override {
        return pooled_.store.CreatePictureSurface(name);
    }
    LineWidget& CreateLine(const String& name) override { return pooled_.store.CreateLine(name); }
    ShapeWidget& CreateShape(const String& name) override {
        return pooled_.store.CreateShape(name);
    }

  private:
    Pooled& pooled_;
    String caption_;
};

class QtServices final : public QObject {
    Q_OBJECT
    friend class QtSite;  // the settings store's open keys

  public:
    // The application's instance (created on first use; needs a QApplication, and goes with it).
    static QtServices& Instance();
    // The instance if there is one (nullptr once the application has gone).
    static QtServices* Existing();
    ~QtServices() override;

    using ErrorHandler = std::function<void(const std::exception& error)>;
    void SetErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }
    // Runs a notice; an exception it throws goes to the error handler. False when it threw.
    template <class F>
    bool Guard(F&& notice) noexcept {
        const Activity during;
        try {
            notice();
            return true;
        } catch (...) {
            Report(std::current_exception());
            return false;
        }
    }
    // Hands an error to the error handler (a value that is no std::exception arrives as a
    // std::runtime_error saying so); without a handler it goes to stderr.
    void Report(std::exception_ptr error) noexcept;

    // A user action or property write in progress. An error that an application's slot throws
    // meanwhile waits (the first one) until the outermost activity is done, so that the control
    // finishes its own steps first.
    class Activity {
      public:
        Activity() noexcept;
        ~Activity();
        Activity(const Activity&) = delete;
        Activity& operator=(const Activity&) = delete;
    };
    // An error from an application's slot: reported when the activity in progress ends, at once
    // when there is none.
    void Defer(std::exception_ptr error) noexcept;

    // Seconds since midnight: the time of day, or the clock a test sets (nullptr restores it).
    void SetClock(std::function<double()> clock) { clock_ = std::move(clock); }
    double Clock() const;

    void Beep();
    int32_t Beeps() const { return beeps_; }

    // The About dialog: a modal message box unless replaced (tests, applications with their own).
    // The settings store the controls read (the About box's system-information lookup): on
    // Windows the registry itself, elsewhere an INI file, "registry.ini" in the application's
    // configuration folder, its groups named like the registry's keys
    // ("HKEY_LOCAL_MACHINE/SOFTWARE/..."). SetRegistryFile points it at another file.
    QSettings& Registry();
    void SetRegistryFile(const QString& path);

    // A hidden form of that name that is not loaded, made when there is none. The pool empties
    // when the last control widget goes (widgets must not outlive the application).
    QtHiddenForm::Pooled& HiddenForm(const String& name);
    void ControlCreated() { ++controls_; }
    // The minimum height in pixels Qt gives a single-line editor in that font, with or
    // without its frame (measured once per font).
    int LineEditMinimumHeight(const Font& font, bool frame);
    void ControlDestroyed();

    // Whether a press is the second of a double click by Qt's own rule (the same button again,
    // soon and near). Qt follows such a press with a double-click event; the container's double
    // click has no second press, so the host's widgets drop it.
    bool SecondPressOfDoubleClick(const QMouseEvent& press);

    // The items by the Qt objects that show them. A registered object's input events go to its
    // item before the object sees them (the services are its event filter, one for all).
    void Register(QObject* shown, QtWidgetItem* item);
    // Forgets `shown` and every object under it.
    void Unregister(QObject* shown);
    // A list's popup window opened for `owner`, the field whose keys it passes on: the focus
    // moving into the popup and back is no focus change of the control.
    void ListPopupOpened(QWidget* popup, QWidget* owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QtServices();
    void FocusChanged(QWidget* old, QWidget* now);
    QtWidgetItem* ItemOf(const QObject* shown) const;
    static ControlWidget* ControlWidgetOf(QWidget* w, QtWidgetItem* item);

    ErrorHandler errorHandler_;
    QPointer<QWidget> popup_, popupOwner_;  // the list popup open last, and its field
    int activities_ = 0;
    std::exception_ptr deferred_;
    std::function<double()> clock_;
    std::unique_ptr<QSettings> registry_;
    std::map<uint32_t, QString> openKeys_;  // handle -> the key's group
    uint32_t nextKey_ = 1;
    int32_t beeps_ = 0;
    quint64 lastPressTime_ = 0;
    QPointF lastPressAt_;
    Qt::MouseButton lastPressButton_ = Qt::NoButton;
    std::unordered_map<const QObject*, QtWidgetItem*> items_;
    std::vector<std::unique_ptr<QtHiddenForm::Pooled>> hiddenForms_;
    int32_t controls_ = 0;
    // Font name, size, weight, italic, frame: the attributes that set a line's height.
    using HeightKey = std::tuple<String, float, int16_t, bool, bool>;
    std::map<HeightKey, int> lineEditHeights_;
};

class QtSite final : public qv::Host {
  public:
    explicit QtSite(ControlWidget& surface);
    ~QtSite() override;

    ControlWidget& Surface() const { return surface_; }
    Control* GetControl() const { return control_; }
    void SetControl(Control* c) { control_ = c; }
    const QtWidgetStore& Widgets() const { return store_; }
    QtWidgetStore& Widgets() { return store_; }
    // The first visible, enabled text field: where the focus goes when the control gets it.
    QtWidgetItem* FocusTarget() const;
    // The first visible field, enabled or not: the control widget's focus proxy.
    QtWidgetItem* ProxyTarget() const;
    // A focused field is about to be hidden: the control widget holds the focus meanwhile.
    void ParkFocus();
    // A field was shown or hidden: the focus proxy follows.
    void FieldsChanged();
    // Applies every widget's colours again (the palette changed: system colours resolve anew).
    void ReapplyColors();
    // Whether the control has a widget that can ever take the focus; a control without one
    // takes the focus and the keys on its own surface.
    bool HasFocusableWidget() const;
    // Gives the control the focus, unless it or one of its widgets has it already.
    void TakeFocus(Qt::FocusReason reason);
    // The largest height the control asked for (its size hint).
    int32_t RequestedHeight() const { return requestedHeight_; }
    // The surface was resized: delivers Resize when the size in twips changed.
    void SurfaceResized();

    TextField& CreateTextField(const String& name, int16_t index,
                               const TextFieldSettings& settings) override {
        return store_.CreateTextField(name, index, settings);
    }
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& s) override {
        return store_.CreateLabel(name, index, s);
    }
    ListWidget& CreateList(const String& name, int16_t index, const ListSettings& s) override {
        return store_.CreateList(name, index, s);
    }
    ButtonWidget& CreateButton(const String& name, int16_t index) override {
        return store_.CreateButton(name, index);
    }
    TimerWidget& CreateTimer(const String& name) override { return store_.CreateTimer(name); }
    PictureSurface& CreatePictureSurface(const String& name) override {
        return store_.CreatePictureSurface(name);
    }
    LineWidget& CreateLine(const String& name) override { return store_.CreateLine(name); }
    ShapeWidget& CreateShape(const String& name) override { return store_.CreateShape(name); }
    int32_t ScaleWidth() const override;
    int32_t ScaleHeight() const override;
    void Size(int32_t width, int32_t height) override;  // negative: 380
    Color BackColor() const override { return backColor_; }
    void BackColor(Color c) override;
    // Whether the control has set its background, which its widget then paints.
    bool PaintsBackground() const { return paintsBackground_; }
    int16_t MousePointer() const override { return mousePointer_; }
    void MousePointer(int16_t v) override;
    std::shared_ptr<Picture> MouseIcon() const override { return mouseIcon_; }
    void MouseIcon(std::shared_ptr<Picture> icon) override;
    // Shows the pointer of the drawn item under the mouse, or the control's own (nullptr, or an
    // item with the default pointer).
    void ShowPointer(const QtWidgetItem* over);
    // The font of the form the control sits on.
    Font AmbientFont() const override;
    // False when the control's window carries the dynamic property "qvUserMode" = false (a
    // designer); true otherwise.
    bool AmbientUserMode() const override;
    // "ToolTipText" is the control widget's tool tip; any other name a dynamic property of the
    // control widget; 438 when it has none.
    Variant Extender(const String& name) const override;
    void PropertyChanged(const String& name) override;
    float TwipsPerPixelX() const override { return qt::TwipsPerPixelX(); }
    float TwipsPerPixelY() const override { return qt::TwipsPerPixelY(); }
    String ClipboardGetText() override;
    void ClipboardSetText(const String& text) override;
    void ClipboardClear() override;
    // Posts the keystrokes to the focused widget: delivered after the current notice returns.
    void SendKeys(const String& keys) override;
    void Beep() override { QtServices::Instance().Beep(); }
    float Timer() const override { return static_cast<float>(QtServices::Instance().Clock()); }
    // The measuring form comes from a pool of hidden forms; any other is a dialog
    // (QtDialogForm) shown over this control's window.
    std::unique_ptr<Form> LoadForm(const String& name) override;
    // The settings store is QtServices::Registry(); programs start detached (QProcess).
    std::optional<uint32_t> RegistryOpenKey(uint32_t root, const String& keyName,
                                            uint32_t access) override;
    std::optional<RegistryValue> RegistryQueryValue(uint32_t key, const String& valueName,
                                                    size_t maxBytes) override;
    void RegistryCloseKey(uint32_t key) override;
    bool StartProgram(const String& path) override;
    bool FileExists(const String& path) override;
    void MessageBox(const String& text) override;

  private:
    void BackColor(Color c, bool force);
    ControlWidget& surface_;
    Control* control_ = nullptr;
    QtWidgetStore store_;
    Color backColor_;
    bool paintsBackground_ = false;
    int16_t mousePointer_ = 0;
    std::shared_ptr<Picture> mouseIcon_;
    int32_t deliveredWidth_ = -1;
    int32_t deliveredHeight_ = -1;
    int32_t requestedHeight_ = 0;
};

}  // namespace qv::qt
