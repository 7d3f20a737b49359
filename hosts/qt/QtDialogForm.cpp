#include "hosts/qt/QtDialogForm.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

#include "hosts/qt/QtConvert.h"
#include "library/ClassRegistry.h"
#include "library/Picture.h"

namespace qv::qt {

namespace {
constexpr double kTwipsPerPixel = 15.0;
int Px(int32_t twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
template <class W>
QRect RectOf(const W& w) {
    return {Px(w.Left()), Px(w.Top()), Px(w.Width()), Px(w.Height())};
}
}  // namespace

QtDialogForm::QtDialogForm(String name, QWidget* parent)
    : name_(std::move(name)),
      parent_(parent),
      hidden_(std::make_unique<QWidget>()),
      store_(nullptr, hidden_.get(), false) {}

QtDialogForm::~QtDialogForm() {
    if (dialog_) dialog_->reject();
    store_ = QtWidgetStore(nullptr, nullptr, true);  // the widgets before the widget they sit on
}

void QtDialogForm::ShowModal() {
    if (showing_ || unloaded_) return;
    QDialog dialog(parent_ ? parent_->window() : nullptr);
    dialog.setObjectName(ToQString(name_));
    dialog.setWindowTitle(ToQString(caption_));
    dialog.setFixedSize(Px(width_), Px(height_));
    QPushButton* first = nullptr;
    for (const Shown& s : shown_) {
        QWidget* w = nullptr;
        if (s.label) {
            auto* l = new QLabel(ToQString(s.label->Caption()), &dialog);
            l->setWordWrap(true);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (s.label->Settings().border) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            l->setFont(ToQFont(s.label->GetFont()));
            l->setGeometry(RectOf(*s.label));
            w = l;
            w->setObjectName(ToQString(s.label->Name()));
        } else if (s.button) {
            auto* b = new QPushButton(ToQString(s.button->Caption()), &dialog);
            b->setGeometry(RectOf(*s.button));
            b->setEnabled(s.button->Enabled());
            ButtonWidget* item = s.button;
            QObject::connect(b, &QPushButton::clicked, &dialog, [item] {
                QtServices::Instance().Guard([&] { item->NotifyClick(); });
            });
            if (!first) {
                first = b;
                b->setDefault(true);
            }
            w = b;
            w->setObjectName(ToQString(s.button->Name()));
        } else if (s.picture) {
            auto* l = new QLabel(&dialog);
            QPixmap pixmap;
            const auto classes = ClassTable();
            if (!classes.empty())
                if (const auto picture = ToolboxBitmap(classes.front()))
                    pixmap.loadFromData(picture->Data().data(),
                                        static_cast<uint>(picture->Data().size()));
            const QRect r = RectOf(*s.picture);
            if (!pixmap.isNull())
                l->setPixmap(pixmap.scaled(r.size(), Qt::KeepAspectRatio, Qt::FastTransformation));
            l->setGeometry(r);
            w = l;
            w->setObjectName(ToQString(s.picture->Name()));
        }
        if (w) {
            const bool visible = s.label    ? s.label->Visible()
                                 : s.button ? s.button->Visible()
                                            : s.picture->Visible();
            w->setVisible(visible);
        }
    }
    if (first) first->setFocus();
    dialog_ = &dialog;
    showing_ = true;
    dialog.exec();
    showing_ = false;
    dialog_ = nullptr;
    unloaded_ = true;
}

void QtDialogForm::Unload() {
    unloaded_ = true;
    if (dialog_) dialog_->accept();
}

}  // namespace qv::qt
