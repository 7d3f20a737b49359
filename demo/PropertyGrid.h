// PropertyGrid: the properties of one control, read and written by name through its member
// table (Name | Value). Read-only properties are greyed; objects (fonts, pictures) are shown but
// set through their own properties. A refused write shows "Error <number>: <description>" in the
// status line and the cell goes back to the control's value.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QTableWidget>
#include <QWidget>
#include <vector>

#include "hosts/qt/ControlWidget.h"
#include "library/MemberTable.h"

namespace qv::demo {

class PropertyGrid : public QWidget {
    Q_OBJECT
  public:
    explicit PropertyGrid(QWidget* parent = nullptr);

    // Shows the control's properties and follows its changes; nullptr empties the grid.
    void setControl(qt::ControlWidget* control);
    qt::ControlWidget* control() const { return control_; }

    // Reads every property again.
    void refresh();

    // Writes `text` as if typed into the property's Value cell. False when the grid has no
    // editable row of that name or the control refused the value.
    bool edit(const QString& property, const QString& text);

    QTableWidget* table() const { return table_; }
    int rowOf(const QString& property) const;  // -1 when absent
    QString valueText(const QString& property) const;
    QString statusText() const { return status_->text(); }

    // The cell text of a value; colours as &HBBGGRR& (the top bit marks a system colour),
    // enumerations as "value - name".
    static QString DisplayText(const Member& m, const Variant& v);
    // Typed text as a value of the property's type; raises the conversion errors (13, 6).
    static Variant ParseText(const Member& m, const QString& text);

  private:
    void onItemChanged(QTableWidgetItem* item);
    void fillRows();
    void showStatus(const QString& text, bool error);

    QLabel* caption_;
    QTableWidget* table_;
    QLabel* status_;
    QPointer<qt::ControlWidget> control_;
    std::vector<const Member*> rows_;
    std::vector<QMetaObject::Connection> connections_;
    bool updating_ = false;
};

}  // namespace qv::demo
