#include "demo/DemoForm.h"

#include <QApplication>
#include <algorithm>

namespace qv::demo {

qt::ControlWidget* ControlWidgetOf(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* cw = qobject_cast<qt::ControlWidget*>(w)) return cw;
    return nullptr;
}

DemoForm::DemoForm(QWidget* parent) : QWidget(parent) {}

void DemoForm::setTitle(const QString& title) {
    if (title == title_) return;
    title_ = title;
    emit titleChanged(title_);
}

qt::ControlWidget* DemoForm::addControl(qt::ControlWidget* control, const QString& name,
                                        const QString& caption, const QRect& geometry) {
    control->setParent(this);
    control->setObjectName(name);
    control->setGeometry(geometry);
    auto* label = new QLabel(caption, this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(control);
    // A control grows to the height its font needs; the caption follows it.
    placeCaption(label, control->geometry());
    control->show();
    label->show();
    entries_.push_back({control, label});
    fitToControls();
    emit controlAdded(control);
    return control;
}

void DemoForm::clear() {
    emit aboutToClear();
    // The focus leaves first, so that the controls hear about it while they still exist.
    if (QWidget* focus = QApplication::focusWidget(); focus && isAncestorOf(focus))
        focus->clearFocus();
    std::vector<Entry> entries;
    entries.swap(entries_);
    for (Entry& e : entries) {
        delete e.control.data();
        delete e.caption.data();
    }
    fitToControls();
}

QList<qt::ControlWidget*> DemoForm::controls() const {
    QList<qt::ControlWidget*> list;
    for (const Entry& e : entries_)
        if (e.control) list.append(e.control);
    return list;
}

qt::ControlWidget* DemoForm::control(const QString& name) const {
    for (const Entry& e : entries_)
        if (e.control && e.control->objectName() == name) return e.control;
    return nullptr;
}

QLabel* DemoForm::caption(const qt::ControlWidget* control) const {
    for (const Entry& e : entries_)
        if (e.control == control) return e.caption;
    return nullptr;
}

void DemoForm::placeCaption(QLabel* caption, const QRect& g) {
    const int right = g.left() - kCaptionGap;
    const int left = std::max(0, right - kCaptionWidth);
    const int h = std::max(caption->sizeHint().height(), std::min(g.height(), 24));
    caption->setGeometry(left, g.top(), std::max(0, right - left), h);
}

void DemoForm::fitToControls() {
    QRect bounds;
    for (const Entry& e : entries_) {
        if (!e.control) continue;
        if (e.caption) placeCaption(e.caption, e.control->geometry());
        bounds |= e.control->geometry();
    }
    setMinimumSize(bounds.isNull() ? QSize(0, 0)
                                   : QSize(bounds.right() + 12, bounds.bottom() + 12));
}

}  // namespace qv::demo
