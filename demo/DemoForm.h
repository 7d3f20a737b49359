// DemoForm: the form surface of the demo. It holds control widgets at absolute positions (as a
// form file stores them), each with a caption label to its left, and a title.
#pragma once

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

#include "hosts/qt/ControlWidget.h"

namespace qv::demo {

// The control widget that `w` belongs to (a control's field or the control itself), or nullptr.
qt::ControlWidget* ControlWidgetOf(QWidget* w);

class DemoForm : public QWidget {
    Q_OBJECT
  public:
    // Room left of each control for its caption, in pixels.
    static constexpr int kCaptionWidth = 110;
    static constexpr int kCaptionGap = 8;

    explicit DemoForm(QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    void setTitle(const QString& title);

    // Takes a control widget already created on this form, gives it its name and geometry
    // (pixels) and a caption, and announces it. Returns `control`.
    qt::ControlWidget* addControl(qt::ControlWidget* control, const QString& name,
                                  const QString& caption, const QRect& geometry);
    // Removes and destroys every control and caption.
    void clear();

    // In the order they were added.
    QList<qt::ControlWidget*> controls() const;
    qt::ControlWidget* control(const QString& name) const;
    QLabel* caption(const qt::ControlWidget* control) const;

  signals:
    void titleChanged(const QString& title);
    void controlAdded(qv::qt::ControlWidget* control);
    void aboutToClear();

  private:
    void placeCaption(QLabel* caption, const QRect& controlGeometry);
    void fitToControls();

    struct Entry {
        QPointer<qt::ControlWidget> control;
        QPointer<QLabel> caption;
    };
    std::vector<Entry> entries_;
    QString title_;
};

}  // namespace qv::demo
