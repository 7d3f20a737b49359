// The Qt host's list: a QComboBox over an item model that reads the list's ItemList.
#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListView>
#include <QPointer>
#include <QProxyStyle>
#include <cmath>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWidgets.h"
#include "library/ScopedFlag.h"

namespace qv::qt {

// The items as Qt sees them: the text for display and editing, the item data as the user role.
// It only reads the list; the list announces its changes through its item (QtList). Appended
// items are announced in batches (see QtList::CatchUp), so the model keeps the row count it has
// announced: the items past it are not yet there for Qt.
class ItemListModel final : public QAbstractListModel {
  public:
    explicit ItemListModel(const ItemList& items) : items_(items), rows_(items.Count()) {}
    int Rows() const { return rows_; }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rows_ || !items_.Valid(index.row())) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return ToQString(items_.Text(index.row()));
        if (role == Qt::UserRole) return items_.Data(index.row());
        return {};
    }
    void AboutToInsert(int first, int count) { beginInsertRows({}, first, first + count - 1); }
    void Inserted(int count) {
        rows_ += count;
        endInsertRows();
    }
    // Removing every row is a reset: a view forgets them at once instead of row by row.
    void AboutToRemove(int first, int count) {
        resetting_ = first == 0 && count == rows_;
        if (resetting_)
            beginResetModel();
        else
            beginRemoveRows({}, first, first + count - 1);
    }
    void Removed(int count) {
        rows_ -= count;
        if (resetting_)
            endResetModel();
        else
            endRemoveRows();
        resetting_ = false;
    }
    void Changed(int row) {
        if (row < rows_) emit dataChanged(index(row), index(row));
    }

  private:
    const ItemList& items_;
    int rows_;
    bool resetting_ = false;
};

namespace {
// Drops every combo box's list below it: styles that lay the list over the box (the current item
// where the box is) would hide the control's field that the list serves.
class BelowStyle final : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* DropBelowStyle() {
    // Follows the application's style; made again when that changes.
    static QPointer<QStyle> style;
    static QStyle* base = nullptr;
    if (!style || base != QApplication::style()) {
        base = QApplication::style();
        auto* made = new BelowStyle();  // QProxyStyle() proxies the application's style
        made->setParent(qApp);
        style = made;
    }
    return style;
}

// A combo box that tells its item when its popup opens and closes. The box itself is never seen
// (the control's own widgets lie where it is) and never takes the focus or the mouse: only its
// popup list shows. While the popup is open the keys go on to the widget that had the focus
// (the control's field), so typing goes on there; a click in the list chooses, as usual.
class ListComboBox final : public QComboBox {
  public:
    ListComboBox(QWidget* parent, QtList& item) : QComboBox(parent), item_(item) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setStyle(DropBelowStyle());
        // Rows of one height: the popup lays out a long list without measuring every item.
        if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
    }
    void showPopup() override {
        item_.CatchUp();
        keysTo_ = QApplication::focusWidget();
        if (keysTo_ == this) keysTo_ = nullptr;
        if (!filtering_) view()->installEventFilter(this);  // kept: a release may follow the close
        filtering_ = true;
        if (keysTo_) QtServices::Instance().ListPopupOpened(view()->window(), keysTo_);
        QComboBox::showPopup();
        item_.PopupShown(true);
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        item_.PopupShown(false);  // Qt gives the focus back to the field
    }

  protected:
    void paintEvent(QPaintEvent*) override {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == view() && keysTo_) {
            switch (e->type()) {
                case QEvent::KeyPress:
                case QEvent::KeyRelease:
                case QEvent::ShortcutOverride:
                case QEvent::InputMethod:
                    QCoreApplication::sendEvent(keysTo_, e);
                    return true;
                default:
                    break;
            }
        }
        return QComboBox::eventFilter(watched, e);
    }

  private:
    QtList& item_;
    QPointer<QWidget> keysTo_;
    bool filtering_ = false;
};
}  // namespace

QtList::QtList(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
               const ListSettings& settings)
    : QtWidgetBase(site, parent, store, std::move(name), index, SystemColor::WindowBackground,
                   SystemColor::WindowText),
      settings_(settings) {
    items_.SetListener(this);
}

QtList::~QtList() {
    DestroySurface();  // the combo box goes before the model it shows
}

QWidget* QtList::MakeSurface(QWidget* parent) {
    auto* combo = new ListComboBox(parent, *this);
    model_ = std::make_unique<ItemListModel>(items_);
    catchUpPosted_ = false;  // one posted to an earlier combo box went with it
    {
        const ScopedFlag quiet(showing_, true);
        combo->setModel(model_.get());
        combo->setCurrentIndex(items_.Selected());
    }
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this](int i) {
        if (!showing_) Chosen(i);
    });
    return combo;
}

void QtList::ApplyAll() {
    height_ = AdjustHeight(height_);  // now that Qt can say how high the font makes it
    QtWidgetBase::ApplyAll();
}

int32_t QtList::AdjustHeight(int32_t h) const {
    if (!settings_.dropDown || !surface_) return h;
    // A drop-down list is as high as its font makes it.
    return static_cast<int32_t>(
        std::ceil(static_cast<float>(surface_->sizeHint().height()) * TppY()));
}

void QtList::FontChanged() {
    height_ = AdjustHeight(height_);
    ApplyGeometry();
}

void QtList::Dropped(bool v) {
    if (v == dropped_) return;
    dropped_ = v;
    if (v) NotifyDropDown();
    auto* combo = static_cast<QComboBox*>(surface_.data());
    if (!combo || !combo->isVisible()) return;
    const ScopedFlag own(showing_, true);
    if (v) {
        CatchUp();
        combo->showPopup();
    } else {
        combo->hidePopup();
    }
}

void QtList::PopupShown(bool shown) {
    if (showing_ || shown == dropped_) return;
    dropped_ = shown;
    if (shown) QtServices::Instance().Guard([&] { NotifyDropDown(); });
    ShowSelection();  // closing keeps the list's selection, whatever Qt's popup did
}

void QtList::Chosen(int index) {
    // The user's choice: what the notices throw goes to the error handler, not into Qt.
    QtServices::Instance().Guard([&] {
        if (!items_.Select(index)) ShowSelection();
    });
}

void QtList::ShowSelection() {
    auto* combo = static_cast<QComboBox*>(surface_.data());
    if (!combo || combo->currentIndex() == items_.Selected()) return;
    if (items_.Selected() >= model_->Rows()) CatchUp();
    const ScopedFlag own(showing_, true);
    combo->setCurrentIndex(items_.Selected());
}

void QtList::CatchUp() {
    if (!model_) return;
    const int32_t pending = items_.Count() - model_->Rows();
    if (pending <= 0) return;
    {
        // A combo box selects the first item of a list that was empty: the list decides.
        const ScopedFlag own(showing_, true);
        model_->AboutToInsert(model_->Rows(), pending);
        model_->Inserted(pending);
    }
    ShowSelection();
}

// Appends (a list being filled) are announced to Qt together, when the event loop next runs or
// before anything else reaches the combo box, rather than one row at a time: a combo box does
// work for each announcement. Every other change goes to Qt at once, after what is pending.
void QtList::ItemsAboutToBeInserted(int32_t first, int32_t count) {
    if (!model_) return;
    if (first == items_.Count()) {
        appending_ = true;
        return;
    }
    CatchUp();
    model_->AboutToInsert(first, count);
}
void QtList::ItemsAboutToBeRemoved(int32_t first, int32_t count) {
    if (!model_) return;
    CatchUp();
    model_->AboutToRemove(first, count);
}
void QtList::ItemsInserted(int32_t, int32_t count) {
    if (!model_) return;
    if (appending_) {
        appending_ = false;
        if (!catchUpPosted_) {
            catchUpPosted_ = true;
            QMetaObject::invokeMethod(
                surface_.data(),
                [this] {
                    catchUpPosted_ = false;
                    CatchUp();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    {
        const ScopedFlag own(showing_, true);
        model_->Inserted(count);
    }
    ShowSelection();
}
void QtList::ItemsRemoved(int32_t, int32_t count) {
    if (!model_) return;
    {
        const ScopedFlag own(showing_, true);
        model_->Removed(count);
    }
    ShowSelection();
}
void QtList::ItemChanged(int32_t index) {
    if (model_) model_->Changed(index);
}
void QtList::SelectionChanged(int32_t) {
    ShowSelection();
    NotifyClick();
}

}  // namespace qv::qt
