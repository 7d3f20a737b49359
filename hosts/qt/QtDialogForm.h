// A form the library shows as a dialog (the About box) on the Qt host: its widgets are made as
// for any form, and ShowModal shows them in a modal QDialog as Qt widgets of their kind (labels
// as QLabels, buttons as QPushButtons taking the focus, the first the default button; Escape
// closes), each button's click going back to the form's button as its Click notice.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "hosts/qt/QtHost.h"

class QDialog;

namespace qv::qt {

class QtDialogForm final : public Form {
  public:
    QtDialogForm(String name, QWidget* parent);
    ~QtDialogForm() override;
    const String& Name() const override { return name_; }
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override { caption_ = v; }
    void Size(int32_t width, int32_t height) override {
        width_ = width;
        height_ = height;
    }
    void ShowModal() override;
    void Unload() override;

    TextField& CreateTextField(const String& name, int16_t index,
                               const TextFieldSettings& s) override {
        return store_.CreateTextField(name, index, s);
    }
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& s) override {
        Label& l = store_.CreateLabel(name, index, s);
        shown_.push_back({&l, nullptr, nullptr});
        return l;
    }
    ListWidget& CreateList(const String& name, int16_t index, const ListSettings& s) override {
        return store_.CreateList(name, index, s);
    }
    ButtonWidget& CreateButton(const String& name, int16_t index) override {
        ButtonWidget& b = store_.CreateButton(name, index);
        shown_.push_back({nullptr, &b, nullptr});
        return b;
    }
    TimerWidget& CreateTimer(const String& name) override { return store_.CreateTimer(name); }
    PictureSurface& CreatePictureSurface(const String& name) override {
        PictureSurface& p = store_.CreatePictureSurface(name);
        shown_.push_back({nullptr, nullptr, &p});
        return p;
    }
    LineWidget& CreateLine(const String& name) override { return store_.CreateLine(name); }
    ShapeWidget& CreateShape(const String& name) override { return store_.CreateShape(name); }

  private:
    struct Shown {  // one of the three
        Label* label;
        ButtonWidget* button;
        PictureSurface* picture;
    };
    String name_, caption_;
    int32_t width_ = 0, height_ = 0;
    QPointer<QWidget> parent_;
    std::unique_ptr<QWidget> hidden_;  // where the form's own widgets live
    QtWidgetStore store_;
    std::vector<Shown> shown_;
    QPointer<QDialog> dialog_;
    bool unloaded_ = false, showing_ = false;
};

}  // namespace qv::qt
