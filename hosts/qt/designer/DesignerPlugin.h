// The Qt Designer plugin: the four control widgets in a "qvControls" group of Designer's widget
// box, with the controls' toolbox pictures as icons. Their Qt properties show in the property
// editor; .ui files that use them load through QUiLoader and compile with uic (the header each
// widget names is the one installed under include/qvControls).
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <functional>

namespace qv::qt {

class ControlWidgetPlugin final : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
  public:
    struct Description {
        QString className;     // "qv::qt::TxtBox"
        QString controlClass;  // "QVtxtBoxControl": its toolbox picture
        QString header;        // "hosts/qt/TxtBox.h"
        QString objectName;    // the name Designer gives the first one ("txtBox")
        QString toolTip;
        std::function<QWidget*(QWidget*)> make;
    };
    ControlWidgetPlugin(Description d, QObject* parent);

    QString name() const override { return d_.className; }
    QString group() const override { return QStringLiteral("qvControls"); }
    QIcon icon() const override;
    QString toolTip() const override { return d_.toolTip; }
    QString whatsThis() const override { return d_.toolTip; }
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override { return d_.make(parent); }
    QString includeFile() const override { return d_.header; }
    QString domXml() const override;
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface*) override { initialized_ = true; }

  private:
    Description d_;
    bool initialized_ = false;
};

class DesignerPlugin final : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
  public:
    explicit DesignerPlugin(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

  private:
    QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace qv::qt
