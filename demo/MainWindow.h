// MainWindow: the demo's window. The customer form with its buttons on the left, the property
// grid of the control that last had the focus on the right, the event log below.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStringList>
#include <functional>

#include "demo/DemoForm.h"
#include "demo/EventLog.h"
#include "demo/PropertyGrid.h"

namespace qv::demo {

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    DemoForm& form() const { return *form_; }
    PropertyGrid& grid() const { return *grid_; }
    EventLog& log() const { return *log_; }
    QPushButton* checkAllButton() const { return checkAll_; }
    QString statusText() const { return status_->text(); }

    // CheckValueNow on every control; returns how many are valid and reports it.
    int checkAll();
    // Save and open without dialogs. Problems of an opened file go to one message.
    bool saveFile(const QString& path);
    QStringList openFile(const QString& path);
    // Help > About: the controls' About dialog (through the form's first control); returns when
    // it closes. False when the form has no control to show it.
    bool showAbout();
    QAction* aboutAction() const { return about_; }

    // Where messages go (a message box unless replaced, for tests).
    using MessageSink = std::function<void(const QString& title, const QString& text)>;
    void setMessageSink(MessageSink sink) { messages_ = std::move(sink); }

  private:
    QAction* about_ = nullptr;
    void saveWithDialog();
    void openWithDialog();
    void onControlAdded(qt::ControlWidget* control);
    void onFocusChanged(QWidget* old, QWidget* now);
    void showMessage(const QString& title, const QString& text);
    void report(const QString& text);

    DemoForm* form_;
    QGroupBox* formBox_;
    PropertyGrid* grid_;
    EventLog* log_;
    QPushButton* checkAll_;
    QLabel* status_;
    MessageSink messages_;
    QString lastFolder_;
};

}  // namespace qv::demo
