// The controls in Qt Designer: the plugin offers the four widgets in the "qvControls" group, and
// a .ui file that sets their properties loads through QUiLoader (the plugin) and compiles with
// uic (ui_designer_form.h), both giving widgets with those properties.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"
#include "ui_designer_form.h"

namespace {

const QStringList kWidgets{"qv::qt::TxtBox", "qv::qt::NumBox", "qv::qt::DateBox",
                           "qv::qt::ComboBox"};

TEST(QtDesigner, ThePluginOffersTheFourWidgetsWithIconsInTheirGroup) {
    QPluginLoader plugin(QStringLiteral(QV_DESIGNER_PLUGIN_DIR "/libqvcontrols_designer.so"));
    ASSERT_TRUE(plugin.load()) << plugin.errorString().toStdString();
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(plugin.instance());
    ASSERT_NE(collection, nullptr);
    QStringList names;
    for (QDesignerCustomWidgetInterface* w : collection->customWidgets()) {
        names << w->name();
        EXPECT_EQ(w->group(), "qvControls");
        EXPECT_FALSE(w->icon().isNull()) << w->name().toStdString();
        EXPECT_TRUE(w->includeFile().startsWith("hosts/qt/"));
        EXPECT_TRUE(w->domXml().contains(w->name()));
        QWidget parent;
        QWidget* made = w->createWidget(&parent);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(QString(made->metaObject()->className()), w->name());
        EXPECT_GE(made->metaObject()->indexOfProperty("BackColor"), 0) << "editable in Designer";
    }
    EXPECT_EQ(names, kWidgets);
}

TEST(QtDesigner, AUiFileLoadsThroughThePluginWithItsProperties) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(QV_DESIGNER_PLUGIN_DIR));
    for (const QString& name : kWidgets)
        EXPECT_TRUE(loader.availableWidgets().contains(name)) << name.toStdString();
    QFile file(QStringLiteral(QV_DESIGNER_UI_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
    // The plugin's widgets come from its own copy of the library: read them through properties.
    const auto get = [&](const char* widget, const char* property) {
        QObject* w = form->findChild<QObject*>(widget);
        return w ? w->property(property) : QVariant();
    };
    EXPECT_EQ(QString(form->findChild<QWidget*>("txtCode")->metaObject()->className()),
              "qv::qt::TxtBox");
    EXPECT_EQ(get("txtCode", "MaxLength"), QVariant(8));
    EXPECT_EQ(get("txtCode", "AllUcase"), QVariant(false));
    EXPECT_EQ(get("txtCode", "BackColor").value<QColor>(), QColor(255, 255, 192));
    EXPECT_EQ(get("numPrice", "PostDecimalNumbers"), QVariant(3));
    EXPECT_EQ(get("numPrice", "AllowMinus"), QVariant(true));
    EXPECT_EQ(get("dateOrder", "DateFormat"), QVariant(2));
    EXPECT_EQ(get("cboCountry", "MustFitDataList"), QVariant(false));
    EXPECT_EQ(get("cboCountry", "ToolTipTextButton1"),
              QVariant(QStringLiteral("Show the countries")));
}

TEST(QtDesigner, UicCompilesTheFormIntoCodeUsingTheWidgets) {
    QWidget form;
    Ui::DesignerForm ui;
    ui.setupUi(&form);
    EXPECT_EQ(ui.txtCode->MaxLength(), 8);
    EXPECT_FALSE(ui.txtCode->AllUcase());
    EXPECT_EQ(ui.txtCode->BackColor(), QColor(255, 255, 192));
    EXPECT_EQ(ui.numPrice->PostDecimalNumbers(), 3);
    EXPECT_TRUE(ui.numPrice->AllowMinus());
    EXPECT_EQ(ui.dateOrder->DateFormat(), 2);
    EXPECT_FALSE(ui.cboCountry->MustFitDataList());
    EXPECT_EQ(ui.cboCountry->ToolTipTextButton1(), "Show the countries");
    EXPECT_EQ(ui.txtCode->geometry(), QRect(10, 10, 200, ui.txtCode->height()));
}

}  // namespace
