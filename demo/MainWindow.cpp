#include "demo/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>
#include <cstdio>

#include "demo/CustomerForm.h"
#include "demo/FormIO.h"
#include "hosts/qt/QtConvert.h"
#include "hosts/qt/QtHost.h"
#include "library/MemberTable.h"
#include "library/RuntimeError.h"

namespace qv::demo {

namespace {

QString ErrorText(const std::exception& e) {
    if (auto* re = dynamic_cast<const RuntimeError*>(&e))
        return QStringLiteral("Error %1: %2")
            .arg(re->Number())
            .arg(qt::ToQString(re->Description()));
    return QStringLiteral("Error: %1").arg(QString::fromLocal8Bit(e.what()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(tr("qvControls demo"));

    form_ = new DemoForm;
    form_->setObjectName(QStringLiteral("form"));
    auto* scroll = new QScrollArea;
    scroll->setWidget(form_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    formBox_ = new QGroupBox;
    auto* boxLayout = new QVBoxLayout(formBox_);
    boxLayout->setContentsMargins(4, 4, 4, 4);
    boxLayout->addWidget(scroll);

    checkAll_ = new QPushButton(tr("Check all"));
    checkAll_->setObjectName(QStringLiteral("checkAll"));
    auto* save = new QPushButton(tr("Save..."));
    auto* open = new QPushButton(tr("Open..."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkAll_);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(open);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(formBox_, 1);
    leftLayout->addLayout(buttons);
    leftLayout->addWidget(status_);

    grid_ = new PropertyGrid;
    log_ = new EventLog;

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(left);
    top->addWidget(grid_);
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 2);
    auto* main = new QSplitter(Qt::Vertical);
    main->addWidget(top);
    main->addWidget(log_);
    main->setStretchFactor(0, 3);
    main->setStretchFactor(1, 1);
    setCentralWidget(main);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open..."), QKeySequence::Open, this, &MainWindow::openWithDialog);
    file->addAction(tr("&Save..."), QKeySequence::Save, this, &MainWindow::saveWithDialog);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    about_ = help->addAction(tr("&About qvControls..."), this, [this] { showAbout(); });

    connect(checkAll_, &QPushButton::clicked, this, [this] { checkAll(); });
    connect(save, &QPushButton::clicked, this, &MainWindow::saveWithDialog);
    connect(open, &QPushButton::clicked, this, &MainWindow::openWithDialog);
    connect(form_, &DemoForm::controlAdded, this, &MainWindow::onControlAdded);
    connect(form_, &DemoForm::titleChanged, formBox_, &QGroupBox::setTitle);
    connect(form_, &DemoForm::aboutToClear, grid_, [this] { grid_->setControl(nullptr); });
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::onFocusChanged);

    // Errors the controls raise inside their notices go to the log instead of stderr.
    QPointer<EventLog> log(log_);
    qt::QtServices::Instance().SetErrorHandler([log](const std::exception& e) {
        if (log)
            log->logLine(ErrorText(e));
        else
            std::fprintf(stderr, "qvControls demo: %s\n", e.what());
    });

    BuildCustomerForm(*form_);
    if (!form_->controls().isEmpty()) grid_->setControl(form_->controls().first());
    resize(960, 660);
}

MainWindow::~MainWindow() {
    // The children go after this destructor, and with them the focus: not to this window.
    disconnect(qApp, nullptr, this, nullptr);
    qt::QtServices::Instance().SetErrorHandler(nullptr);  // back to stderr
}

void MainWindow::onControlAdded(qt::ControlWidget* control) {
    log_->attach(*control);
}

void MainWindow::onFocusChanged(QWidget* /*old*/, QWidget* now) {
    if (!now || !form_->isAncestorOf(now)) return;
    if (qt::ControlWidget* c = ControlWidgetOf(now)) grid_->setControl(c);
}

int MainWindow::checkAll() {
    int valid = 0;
    QStringList invalid;
    const QList<qt::ControlWidget*> controls = form_->controls();
    for (qt::ControlWidget* c : controls) {
        bool ok = false;
        qt::QtServices::Instance().Guard(
            [&] { ok = c->control().CallMethod(u"CheckValueNow").ToBool(); });
        if (ok)
            ++valid;
        else
            invalid << c->objectName();
    }
    QString text = tr("Check all: %1 of %2 controls valid").arg(valid).arg(controls.size());
    if (!invalid.isEmpty()) text += tr(" (not valid: %1)").arg(invalid.join(QStringLiteral(", ")));
    report(text);
    return valid;
}

bool MainWindow::showAbout() {
    const QList<qt::ControlWidget*> controls = form_->controls();
    if (controls.isEmpty()) return false;
    Control& c = controls.front()->control();
    const Member* show = c.Members().Find(u"ShowAboutBox");
    if (!show || !show->call) return false;
    qt::QtServices::Instance().Guard([&] { show->call(c, {}); });
    return true;
}

bool MainWindow::saveFile(const QString& path) {
    try {
        SaveForm(*form_, path);
    } catch (const std::exception& e) {
        showMessage(tr("Save"), tr("The form could not be saved to %1.\n\n%2")
                                    .arg(QDir::toNativeSeparators(path), ErrorText(e)));
        report(tr("Not saved: %1").arg(ErrorText(e)));
        return false;
    }
    report(tr("Saved %1 controls to %2").arg(form_->controls().size()).arg(path));
    return true;
}

QStringList MainWindow::openFile(const QString& path) {
    QStringList problems = OpenForm(*form_, path);
    const QList<qt::ControlWidget*> controls = form_->controls();
    grid_->setControl(controls.isEmpty() ? nullptr : controls.first());
    if (problems.isEmpty()) {
        report(tr("Opened %1: %2 controls").arg(path).arg(controls.size()));
    } else {
        report(tr("Opened %1 with %2 problem(s)").arg(path).arg(problems.size()));
        // One message for the whole file, however many problems it has.
        showMessage(tr("Problems in %1").arg(QFileInfo(path).fileName()),
                    tr("Opening the file gave these problems:\n\n- %1")
                        .arg(problems.join(QStringLiteral("\n- "))));
    }
    return problems;
}

void MainWindow::saveWithDialog() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Save form"), lastFolder_,
                                                      tr("Form files (*.json);;All files (*)"));
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    saveFile(path);
}

void MainWindow::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open form"), lastFolder_,
                                                      tr("Form files (*.json);;All files (*)"));
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    openFile(path);
}

void MainWindow::showMessage(const QString& title, const QString& text) {
    if (messages_)
        messages_(title, text);
    else
        QMessageBox::warning(this, title, text);
}

void MainWindow::report(const QString& text) {
    status_->setText(text);
    log_->logLine(text);
}

}  // namespace qv::demo
