#include "hosts/qt/QtHost.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleHints>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "hosts/qt/ControlWidget.h"
#include "hosts/qt/QtDialogForm.h"
#include "hosts/qt/QtKeys.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"

namespace qv::qt {

// --- QtServices ------------------------------------------------------------------------------

namespace {
QtServices* gServices = nullptr;
}

QtServices& QtServices::Instance() {
    if (!gServices) gServices = new QtServices;  // a child of the application
    return *gServices;
}

QtServices* QtServices::Existing() {
    return gServices;
}

QtServices::~QtServices() {
    hiddenForms_.clear();  // their widgets unregister here
    gServices = nullptr;
}

QtServices::QtServices() {
    setParent(qApp);
    connect(qApp, &QApplication::focusChanged, this, &QtServices::FocusChanged);
}

void QtServices::Report(std::exception_ptr error) noexcept {
    try {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception&) {
            throw;
        } catch (...) {
            throw std::runtime_error("a slot or notice threw a value that is not a std::exception");
        }
    } catch (const std::exception& e) {
        if (errorHandler_) {
            try {
                errorHandler_(e);
                return;
            } catch (...) {
            }
        }
        std::fprintf(stderr, "qvControls: error in a control's notice: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "qvControls: error in a control's notice\n");
    }
}

QtServices::Activity::Activity() noexcept {
    ++Instance().activities_;
}

QtServices::Activity::~Activity() {
    QtServices& s = Instance();
    if (--s.activities_ == 0 && s.deferred_) s.Report(std::exchange(s.deferred_, nullptr));
}

void QtServices::Defer(std::exception_ptr error) noexcept {
    if (activities_ == 0)
        Report(error);
    else if (!deferred_)
        deferred_ = std::move(error);
}

double QtServices::Clock() const {
    if (clock_) return clock_();
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtServices::Beep() {
    ++beeps_;
    QApplication::beep();
}

QSettings& QtServices::Registry() {
    if (!registry_) {
#ifdef Q_OS_WIN
        registry_ = std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE"),
                                                QSettings::NativeFormat);
#else
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        registry_ = std::make_unique<QSettings>(QDir(dir).filePath(QStringLiteral("registry.ini")),
                                                QSettings::IniFormat);
#endif
    }
    return *registry_;
}

void QtServices::SetRegistryFile(const QString& path) {
    registry_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
    openKeys_.clear();
}

bool QtServices::SecondPressOfDoubleClick(const QMouseEvent& press) {
    const QStyleHints* hints = QGuiApplication::styleHints();
    const QPointF at = press.globalPosition();
    const double distance = hints->mouseDoubleClickDistance();
    const bool second = press.button() == lastPressButton_ &&
                        std::abs(at.x() - lastPressAt_.x()) <= distance &&
                        std::abs(at.y() - lastPressAt_.y()) <= distance &&
                        press.timestamp() - lastPressTime_ <
                            static_cast<quint64>(hints->mouseDoubleClickInterval());
    lastPressTime_ = press.timestamp();
    lastPressAt_ = at;
    lastPressButton_ = second ? Qt::NoButton : press.button();  // a third press starts anew
    return second;
}

void QtServices::Register(QObject* shown, QtWidgetItem* item) {
    items_[shown] = item;
    shown->installEventFilter(this);
}

void QtServices::Unregister(QObject* shown) {
    if (items_.erase(shown) == 0) return;
    for (const QObject* child : shown->findChildren<QObject*>()) items_.erase(child);
}

QtWidgetItem* QtServices::ItemOf(const QObject* shown) const {
    if (!shown) return nullptr;
    const auto it = items_.find(shown);
    return it == items_.end() ? nullptr : it->second;
}

bool QtServices::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
            if (QtWidgetItem* item = ItemOf(watched)) return item->OnKey(e);
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            if (QtWidgetItem* item = ItemOf(watched)) return item->OnMouse(e);
            return false;
        case QEvent::StyleChange:
            if (QtWidgetItem* item = ItemOf(watched)) item->OnStyleChange();
            return false;
        default:
            return false;
    }
}

ControlWidget* QtServices::ControlWidgetOf(QWidget* w, QtWidgetItem* item) {
    if (item) {
        // A control being destroyed hears nothing any more.
        ControlWidget* cw = item->Site() ? &item->Site()->Surface() : nullptr;
        return cw && cw->controlOrNull() ? cw : nullptr;
    }
    auto* cw = qobject_cast<ControlWidget*>(w);
    return cw && cw->controlOrNull() ? cw : nullptr;
}

void QtServices::ListPopupOpened(QWidget* popup, QWidget* owner) {
    popup_ = popup;
    popupOwner_ = owner;
}

void QtServices::FocusChanged(QWidget* old, QWidget* now) {
    // A control's list popup takes the focus from its field while it is open, and passes the
    // keys on to it: for the controls the field keeps the focus throughout.
    const auto inPopup = [&](const QWidget* w) {
        return w && popup_ && (w == popup_ || popup_->isAncestorOf(w));
    };
    if (popupOwner_) {
        if (inPopup(now)) return;
        if (inPopup(old)) {
            old = popupOwner_;
            if (old == now) return;
        }
    }
    QtWidgetItem* oldItem = ItemOf(old);
    QtWidgetItem* newItem = ItemOf(now);
    // A move between a control's own fields, or between a field and the control widget itself
    // (a field being swapped), stays within the control: only the fields hear of it.
    ControlWidget* oldWidget = ControlWidgetOf(old, oldItem);
    ControlWidget* newWidget = ControlWidgetOf(now, newItem);
    if (oldItem) Guard([&] { oldItem->AsWidget().NotifyLostFocus(); });
    if (oldWidget != newWidget) {
        if (oldWidget) {
            Guard([&] { oldWidget->control().UserControl_ExitFocus(); });
            Guard([&] { oldWidget->focusLeft(oldItem != nullptr); });
        }
        if (newWidget) {
            Guard([&] { newWidget->control().UserControl_EnterFocus(); });
            Guard([&] { newWidget->focusEntered(newItem != nullptr); });
        }
    }
    // A notice may have moved the focus on; then that move has sent its own notices.
    if (newItem && QApplication::focusWidget() == now)
        Guard([&] { newItem->AsWidget().NotifyGotFocus(); });
}

// --- QtWidgetStore ---------------------------------------------------------------------------

template <class W, class... Args>
W& QtWidgetStore::Add(const String& name, int16_t index, Args&&... args) {
    if (reuse_)
        if (auto* existing = dynamic_cast<W*>(Find(name, index))) return *existing;
    auto w = std::make_unique<W>(site_, surface_, this, name, index, std::forward<Args>(args)...);
    W& ref = *w;
    items_.push_back(std::move(w));
    order_.push_back(&ref);
    // Hidden forms measure with their widgets at once; a control's wait until they show.
    if (!site_ || surface_->isVisible()) ref.Materialize();
    return ref;
}

template <class W>
W& QtWidgetStore::AddDrawing(const String& name) {
    if (reuse_)
        for (const auto& d : drawings_)
            if (auto* existing = dynamic_cast<W*>(d.get());
                existing && EqualsNoCase(existing->Name(), name))
                return *existing;
    auto w = std::make_unique<W>(site_, surface_, this, name);
    W& ref = *w;
    drawings_.push_back(std::move(w));
    order_.push_back(&ref);
    if (!site_ || surface_->isVisible()) ref.Materialize();
    return ref;
}

LineWidget& QtWidgetStore::CreateLine(const String& name) {
    return AddDrawing<QtLine>(name);
}
ShapeWidget& QtWidgetStore::CreateShape(const String& name) {
    return AddDrawing<QtShape>(name);
}

TextField& QtWidgetStore::CreateTextField(const String& name, int16_t index,
                                          const TextFieldSettings& s) {
    return Add<QtTextField>(name, index, s);
}
Label& QtWidgetStore::CreateLabel(const String& name, int16_t index, const LabelSettings& s) {
    return Add<QtLabel>(name, index, s);
}
ListWidget& QtWidgetStore::CreateList(const String& name, int16_t index, const ListSettings& s) {
    return Add<QtList>(name, index, s);
}
bool QtWidgetStore::AnyListDropped() const {
    return std::any_of(items_.begin(), items_.end(), [](const auto& item) {
        const auto* list = dynamic_cast<const QtList*>(item.get());
        return list && list->Dropped();
    });
}
ButtonWidget& QtWidgetStore::CreateButton(const String& name, int16_t index) {
    return Add<QtButton>(name, index);
}
PictureSurface& QtWidgetStore::CreatePictureSurface(const String& name) {
    if (reuse_)
        if (auto* existing = dynamic_cast<QtPictureSurface*>(Find(name, -1))) return *existing;
    auto w = std::make_unique<QtPictureSurface>(site_, surface_, this, name);
    QtPictureSurface& ref = *w;
    items_.push_back(std::move(w));
    order_.push_back(&ref);
    return ref;
}
TimerWidget& QtWidgetStore::CreateTimer(const String& name) {
    if (reuse_)
        for (auto& [timerName, timer] : timers_)
            if (EqualsNoCase(timerName, name)) return *timer;
    timers_.emplace_back(name, std::make_unique<QtTimer>(site_));
    return *timers_.back().second;
}

void QtWidgetStore::Stack(QtSurfaceItem& item) {
    // Under the first widget made after it in creation order, or on top of all.
    QWidget* above = nullptr;
    for (auto it = std::find(order_.begin(), order_.end(), &item); it != order_.end() && !above;
         ++it)
        if (*it != &item) above = (*it)->MadeSurface();
    if (above)
        item.MadeSurface()->stackUnder(above);
    else
        item.MadeSurface()->raise();
    // Qt's focus chain follows the order Qt widgets are made in; fields are made late.
    auto* field = dynamic_cast<QtWidgetItem*>(&item);
    if (!site_ || !field || !field->Focusable()) return;
    QWidget* previous = surface_;
    for (const auto& other : items_) {
        if (other.get() == field) break;
        if (other->Focusable() && other->MadeSurface()) previous = other->MadeSurface();
    }
    QWidget* made = field->MadeSurface();
    QWidget* before = made->previousInFocusChain();
    if (before == previous) return;
    // setTabOrder ignores a widget without a focus policy, and leaves the chain alone when only
    // such widgets lie between the two: lend a policy to the control's surface and to the
    // widget now before the field while it moves.
    const Qt::FocusPolicy previousPolicy = previous->focusPolicy();
    const Qt::FocusPolicy beforePolicy = before->focusPolicy();
    if (previousPolicy == Qt::NoFocus) previous->setFocusPolicy(Qt::TabFocus);
    if (beforePolicy == Qt::NoFocus) before->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(previous, made);
    previous->setFocusPolicy(previousPolicy);
    before->setFocusPolicy(beforePolicy);
}

void QtWidgetStore::MaterializeVisible() {
    for (QtSurfaceItem* item : order_)
        if (item->IsVisibleItem()) item->Materialize();
}

void QtWidgetStore::PaintDrawn(QPainter& p, const QRect& dirty) const {
    for (const QtSurfaceItem* item : order_)
        if (item->Drawn() && item->IsVisibleItem() && item->PixelRect().intersects(dirty))
            item->Paint(p);
}

QtWidgetItem* QtWidgetStore::DrawnItemAt(QPoint pos) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->Drawn() && (*it)->IsVisibleItem() && (*it)->PixelRect().contains(pos))
            return it->get();
    return nullptr;
}

QtWidgetItem* QtWidgetStore::Find(StringView name, int16_t index) const {
    for (const auto& item : items_) {
        Widget& w = item->AsWidget();
        if (w.Index() == index && EqualsNoCase(w.Name(), name)) return item.get();
    }
    return nullptr;
}

// --- QtSite ----------------------------------------------------------------------------------

QtSite::QtSite(ControlWidget& surface)
    : surface_(surface), store_(this, &surface), backColor_(SystemColor::ButtonFace) {}

QtSite::~QtSite() = default;

QtWidgetItem* QtSite::FocusTarget() const {
    for (const auto& item : store_.Items())
        if (item->CanTakeFocus()) return item.get();
    return nullptr;
}

QtWidgetItem* QtSite::ProxyTarget() const {
    for (const auto& item : store_.Items())
        if (item->Focusable() && item->IsVisibleItem()) return item.get();
    return nullptr;
}

void QtSite::ParkFocus() {
    surface_.setFocusProxy(nullptr);
    surface_.setFocus(Qt::OtherFocusReason);
}

void QtSite::FieldsChanged() {
    surface_.updateFocusProxy();
}

void QtSite::ReapplyColors() {
    BackColor(backColor_, true);
    for (const auto& item : store_.Items()) item->ReapplyColors();
}

bool QtSite::HasFocusableWidget() const {
    return std::any_of(store_.Items().begin(), store_.Items().end(),
                       [](const auto& item) { return item->Focusable(); });
}

void QtSite::TakeFocus(Qt::FocusReason reason) {
    QWidget* focus = QApplication::focusWidget();
    if (focus == &surface_ || surface_.isAncestorOf(focus)) return;
    surface_.setFocus(reason);
}

int32_t QtSite::ScaleWidth() const {
    return static_cast<int32_t>(
        std::lround(static_cast<float>(surface_.width()) * TwipsPerPixelX()));
}
int32_t QtSite::ScaleHeight() const {
    return static_cast<int32_t>(
        std::lround(static_cast<float>(surface_.height()) * TwipsPerPixelY()));
}

void QtSite::SurfaceResized() {
    const int32_t w = ScaleWidth(), h = ScaleHeight();
    if (!control_ || (w == deliveredWidth_ && h == deliveredHeight_)) return;
    deliveredWidth_ = w;
    deliveredHeight_ = h;
    control_->UserControl_Resize();
}

void QtSite::Size(int32_t width, int32_t height) {
    if (width < 0 || height < 0) Raise(err::InvalidPropertyValue);
    requestedHeight_ = std::max(requestedHeight_, height);
    surface_.resize(ToPixels(width, TwipsPerPixelX()), ToPixels(height, TwipsPerPixelY()));
    surface_.updateGeometry();
    // Qt delays the resize event of a hidden widget; the control hears about it at once.
    SurfaceResized();
}

void QtSite::BackColor(Color c) {
    BackColor(c, false);
}

void QtSite::BackColor(Color c, bool force) {
    if (c == backColor_ && !force && paintsBackground_) return;
    backColor_ = c;
    // Text drawn on this background (transparent labels) keeps its contrast.
    if (!force)
        for (const auto& item : store_.Items()) item->BackgroundChanged();
    // Painted by the widget rather than filled by Qt: Qt takes a filled widget for opaque and
    // cuts it out of the form's paint region, which with many controls splits that region into
    // thousands of rectangles. (And no palette of its own: that costs a kilobyte a control.)
    paintsBackground_ = true;
    surface_.update();
}

void QtSite::MousePointer(int16_t v) {
    if ((v < 0 || v > 15) && v != 99) Raise(err::InvalidPropertyValue);
    mousePointer_ = v;
    if (v == 0)
        surface_.unsetCursor();
    else
        surface_.setCursor(ToQCursor(v, mouseIcon_.get()));
}

void QtSite::ShowPointer(const QtWidgetItem* over) {
    if (over) {
        const Widget& w = const_cast<QtWidgetItem*>(over)->AsWidget();
        if (w.MousePointer() != 0) {
            const std::shared_ptr<Picture> icon = w.MouseIcon();
            surface_.setCursor(ToQCursor(w.MousePointer(), icon.get()));
            return;
        }
    }
    if (mousePointer_ == 0)
        surface_.unsetCursor();
    else
        surface_.setCursor(ToQCursor(mousePointer_, mouseIcon_.get()));
}

void QtSite::MouseIcon(std::shared_ptr<Picture> icon) {
    mouseIcon_ = std::move(icon);
    if (mousePointer_ == 99) surface_.setCursor(ToQCursor(99, mouseIcon_.get()));
}

Font QtSite::AmbientFont() const {
    Font f;
    const QWidget* form = surface_.parentWidget() ? surface_.parentWidget() : &surface_;
    AssignFromQFont(f, form->font());
    return f;
}

bool QtSite::AmbientUserMode() const {
    const QVariant mode = surface_.window()->property("qvUserMode");
    return !mode.isValid() || mode.toBool();
}

Variant QtSite::Extender(const String& name) const {
    if (EqualsNoCase(name, u"ToolTipText")) return Variant(FromQString(surface_.toolTip()));
    const QVariant v = surface_.property(ToUtf8(name).c_str());
    if (!v.isValid()) Raise(err::NoSuchMember);
    if (v.typeId() == QMetaType::Bool) return Variant(v.toBool());
    if (v.canConvert<int>() && v.typeId() == QMetaType::Int) return Variant(int32_t{v.toInt()});
    return Variant(FromQString(v.toString()));
}

void QtSite::PropertyChanged(const String& name) {
    if (name == u"Enabled") surface_.controlEnabledChanged();
    ControlWidget::callSlots([&] { emit surface_.propertyChanged(ToQString(name)); });
}

String QtSite::ClipboardGetText() {
    return FromQString(QGuiApplication::clipboard()->text());
}
void QtSite::ClipboardSetText(const String& text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
}
void QtSite::ClipboardClear() {
    QGuiApplication::clipboard()->clear();
}

void QtSite::SendKeys(const String& keys) {
    const std::vector<KeyStroke> strokes = ParseKeys(keys);  // error 5 before anything is queued
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    for (const KeyStroke& k : strokes) {
        const int key = QtKeyFor(k.keyCode);
        const Qt::KeyboardModifiers mods = QtModifiersFor(k.shift);
        const QString text = k.character >= 0x20 ? QString(QChar(k.character)) : QString();
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, mods, text));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, mods, text));
    }
}

std::unique_ptr<Form> QtSite::LoadForm(const String& name) {
    if (name.empty()) Raise(err::InvalidProcedureCall);
    if (name == u"TextHeightTestForm")
        return std::make_unique<QtHiddenForm>(QtServices::Instance().HiddenForm(name));
    return std::make_unique<QtDialogForm>(name, &surface_);
}

// --- QtSite: the system ---------------------------------------------------------------------

namespace {
// The settings group of a key: the root's name, then the key's parts.
QString RegistryGroup(uint32_t root, const String& keyName) {
    QString group;
#ifndef Q_OS_WIN
    switch (root) {
        case 0x80000000:
            group = QStringLiteral("HKEY_CLASSES_ROOT");
            break;
        case 0x80000001:
            group = QStringLiteral("HKEY_CURRENT_USER");
            break;
        case RegistryRoot::LocalMachine:
            group = QStringLiteral("HKEY_LOCAL_MACHINE");
            break;
        case 0x80000003:
            group = QStringLiteral("HKEY_USERS");
            break;
        default:
            return {};
    }
#else
    if (root != RegistryRoot::LocalMachine) return {};  // the native store opens that root
#endif
    for (const QString& part : ToQString(keyName).split(u'\\', Qt::SkipEmptyParts))
        group += (group.isEmpty() ? QString() : QStringLiteral("/")) + part;
    return group;
}
}  // namespace

std::optional<uint32_t> QtSite::RegistryOpenKey(uint32_t root, const String& keyName, uint32_t) {
    QtServices& services = QtServices::Instance();
    const QString group = RegistryGroup(root, keyName);
    if (group.isEmpty()) return std::nullopt;
    QSettings& store = services.Registry();
    store.beginGroup(group);
    const bool exists = !store.childKeys().isEmpty() || !store.childGroups().isEmpty();
    store.endGroup();
    if (!exists) return std::nullopt;
    const uint32_t handle = services.nextKey_++;
    services.openKeys_[handle] = group;
    return handle;
}

std::optional<RegistryValue> QtSite::RegistryQueryValue(uint32_t key, const String& valueName,
                                                        size_t maxBytes) {
    QtServices& services = QtServices::Instance();
    const auto open = services.openKeys_.find(key);
    if (open == services.openKeys_.end()) return std::nullopt;
    const QVariant v = services.Registry().value(open->second + u'/' + ToQString(valueName));
    if (!v.isValid()) return std::nullopt;
    RegistryValue out;
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            const auto n = static_cast<uint32_t>(v.toLongLong());
            out.type = 4;
            for (int i = 0; i < 4; ++i) out.data.push_back(static_cast<uint8_t>(n >> (8 * i)));
            break;
        }
        default: {
            out.type = 1;
            for (const QChar c : v.toString() + QChar(u'\0')) {
                out.data.push_back(static_cast<uint8_t>(c.unicode() & 0xFF));
                out.data.push_back(static_cast<uint8_t>(c.unicode() >> 8));
            }
        }
    }
    if (out.data.size() > maxBytes) return std::nullopt;
    return out;
}

void QtSite::RegistryCloseKey(uint32_t key) {
    QtServices::Instance().openKeys_.erase(key);
}

bool QtSite::StartProgram(const String& path) {
    return QProcess::startDetached(ToQString(path), {});
}

bool QtSite::FileExists(const String& path) {
    return QFileInfo::exists(ToQString(path));
}

void QtSite::MessageBox(const String& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(),
                    ToQString(text), QMessageBox::Ok, surface_.window());
    box.exec();
}

// --- QtHiddenForm ----------------------------------------------------------------------------

QtHiddenForm::QtHiddenForm(Pooled& pooled) : pooled_(pooled) {
    pooled_.loaded = true;
}

QtHiddenForm::~QtHiddenForm() {
    pooled_.loaded = false;
}

QtHiddenForm::Pooled::~Pooled() {
    store = QtWidgetStore(nullptr, nullptr, true);  // the widgets before the form they sit on
    delete widget.data();
}

int QtServices::LineEditMinimumHeight(const Font& font, bool frame) {
    HeightKey key{font.Name(), font.Size(), font.Weight(), font.Italic(), frame};
    if (auto it = lineEditHeights_.find(key); it != lineEditHeights_.end()) return it->second;
    QLineEdit probe;
    probe.setFrame(frame);
    probe.setFont(ToQFont(font));
    const int h = probe.minimumSizeHint().height();
    lineEditHeights_.emplace(std::move(key), h);
    return h;
}

void QtServices::ControlDestroyed() {
    if (--controls_ == 0) std::erase_if(hiddenForms_, [](const auto& p) { return !p->loaded; });
}

QtHiddenForm::Pooled& QtServices::HiddenForm(const String& name) {
    for (auto& p : hiddenForms_)
        if (!p->loaded && p->name == name) return *p;
    auto* widget = new QWidget;
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    hiddenForms_.push_back(std::make_unique<QtHiddenForm::Pooled>(name, widget));
    return *hiddenForms_.back();
}

}  // namespace qv::qt
