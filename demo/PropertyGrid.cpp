#include "demo/PropertyGrid.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "hosts/qt/ControlWidgetFactory.h"
#include "hosts/qt/QtConvert.h"
#include "library/Control.h"
#include "library/DataSource.h"
#include "library/Font.h"
#include "library/Picture.h"
#include "library/RuntimeError.h"

namespace qv::demo {

namespace {

bool IsColour(const Member& m) {
    return m.type == VarType::Long && !m.enumInfo && StringView(m.name).ends_with(u"Color");
}

bool IsEditable(const Member& m) {
    return !m.readOnly && m.let && m.type != VarType::Object;
}

QString ErrorText(const RuntimeError& e) {
    return QStringLiteral("Error %1: %2").arg(e.Number()).arg(qt::ToQString(e.Description()));
}

QString ObjectText(const Variant& v) {
    if (auto font = v.As<Font>())
        return QStringLiteral("%1, %2 pt")
            .arg(qt::ToQString(font->Name()), qt::ToQString(SingleToString(font->Size())));
    if (auto picture = v.As<Picture>())
        return picture->Type() == Picture::Format::None
                   ? QStringLiteral("(None)")
                   : QStringLiteral("(Picture %1×%2)").arg(picture->Width()).arg(picture->Height());
    if (auto connection = v.As<DatabaseConnection>())
        return qt::ToQString(connection->Description());
    return v.IsObject() ? QStringLiteral("(Object)") : QStringLiteral("(None)");
}

}  // namespace

PropertyGrid::PropertyGrid(QWidget* parent) : QWidget(parent) {
    caption_ = new QLabel(tr("No control selected"), this);
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("propertyTable"));
    table_->setHorizontalHeaderLabels({tr("Name"), tr("Value")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("propertyStatus"));
    status_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
    connect(table_, &QTableWidget::itemChanged, this, &PropertyGrid::onItemChanged);
}

void PropertyGrid::setControl(qt::ControlWidget* control) {
    if (control == control_ && control) return;
    for (auto& c : connections_) disconnect(c);
    connections_.clear();
    control_ = control;
    showStatus(QString(), false);
    if (control_) {
        // The value changes as the user types; other properties change when the control marks
        // them (a write by code, a focus change that moves the selection).
        connections_.push_back(
            connect(control_, &qt::ControlWidget::Change, this, &PropertyGrid::refresh));
        connections_.push_back(
            connect(control_, &qt::ControlWidget::propertyChanged, this, &PropertyGrid::refresh));
        connections_.push_back(
            connect(control_, &QObject::destroyed, this, [this] { setControl(nullptr); }));
    }
    fillRows();
}

void PropertyGrid::fillRows() {
    const QSignalBlocker block(table_);
    rows_.clear();
    table_->setRowCount(0);
    if (!control_) {
        caption_->setText(tr("No control selected"));
        return;
    }
    caption_->setText(QStringLiteral("%1 (%2)").arg(control_->objectName(),
                                                    qt::ToQString(qt::ClassNameOf(*control_))));
    for (const Member& m : control_->control().Members().All())
        if (m.kind == MemberKind::Property) rows_.push_back(&m);
    table_->setRowCount(static_cast<int>(rows_.size()));
    const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const Member& m = *rows_[static_cast<size_t>(row)];
        auto* name = new QTableWidgetItem(qt::ToQString(m.name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        auto* value = new QTableWidgetItem;
        value->setFlags(IsEditable(m)
                            ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                            : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (m.readOnly) {
            name->setForeground(grey);
            value->setForeground(grey);
        }
        table_->setItem(row, 0, name);
        table_->setItem(row, 1, value);
    }
    refresh();
}

void PropertyGrid::refresh() {
    if (!control_ || updating_) return;
    updating_ = true;
    const QSignalBlocker block(table_);
    Control& c = control_->control();
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const Member& m = *rows_[static_cast<size_t>(row)];
        QTableWidgetItem* item = table_->item(row, 1);
        try {
            const Variant v = c.GetProperty(m.name);
            item->setText(DisplayText(m, v));
            item->setData(
                Qt::DecorationRole,
                IsColour(m) ? QVariant(qt::ToQColor(static_cast<Color>(v.ToLong()))) : QVariant());
        } catch (const RuntimeError& e) {
            item->setText(ErrorText(e));
        }
    }
    updating_ = false;
}

void PropertyGrid::onItemChanged(QTableWidgetItem* item) {
    if (updating_ || !control_ || item->column() != 1) return;
    const int row = item->row();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const Member& m = *rows_[static_cast<size_t>(row)];
    const QString text = item->text();
    try {
        control_->control().LetProperty(m.name, ParseText(m, text));
        showStatus(QStringLiteral("%1 = %2").arg(qt::ToQString(m.name), text), false);
    } catch (const RuntimeError& e) {
        showStatus(ErrorText(e), true);
    }
    // Back to what the control holds: the old value after a refusal, the value as the control
    // took it otherwise (and whatever else the write changed).
    refresh();
}

bool PropertyGrid::edit(const QString& property, const QString& text) {
    const int row = rowOf(property);
    if (row < 0 || !(table_->item(row, 1)->flags() & Qt::ItemIsEditable)) return false;
    showStatus(QString(), false);
    table_->item(row, 1)->setText(text);  // itemChanged: the same path as a typed edit
    return !status_->property("error").toBool();
}

int PropertyGrid::rowOf(const QString& property) const {
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (qt::ToQString(rows_[static_cast<size_t>(row)]->name)
                .compare(property, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

QString PropertyGrid::valueText(const QString& property) const {
    const int row = rowOf(property);
    return row < 0 ? QString() : table_->item(row, 1)->text();
}

void PropertyGrid::showStatus(const QString& text, bool error) {
    status_->setText(text);
    status_->setProperty("error", error);
    status_->setStyleSheet(error ? QStringLiteral("color: #b00000") : QString());
}

QString PropertyGrid::DisplayText(const Member& m, const Variant& v) {
    if (v.IsNull()) return QStringLiteral("(Null)");
    if (m.type == VarType::Object || v.IsObject()) return ObjectText(v);
    if (IsColour(m))
        return QStringLiteral("&H%1&")
            .arg(static_cast<uint32_t>(v.ToLong()), 8, 16, QLatin1Char('0'))
            .toUpper();
    if (m.enumInfo) {
        const int32_t value = v.ToLong();
        const char16_t* name = DisplayName(*m.enumInfo, value);
        return name ? QStringLiteral("%1 - %2").arg(value).arg(qt::ToQString(name))
                    : QString::number(value);
    }
    return qt::ToQString(v.ToString());
}

Variant PropertyGrid::ParseText(const Member& m, const QString& text) {
    const QString t = text.trimmed();
    if (IsColour(m) && t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QString digits = t.mid(2);
        if (digits.endsWith(QLatin1Char('&'))) digits.chop(1);
        bool ok = false;
        const uint value = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8) Raise(err::TypeMismatch);
        return Variant(static_cast<int32_t>(value));
    }
    if (m.enumInfo) {
        // "1 - 3D", "1" or the member's display name ("3D").
        const QString number = t.section(QStringLiteral(" - "), 0, 0).trimmed();
        for (const EnumMember& e : m.enumInfo->members)
            if (qt::ToQString(e.displayName).trimmed().compare(t, Qt::CaseInsensitive) == 0)
                return Variant(e.value);
        return Variant(Variant(qt::FromQString(number)).ToLong());
    }
    const Variant typed(qt::FromQString(text));
    switch (m.type) {
        case VarType::Boolean:
            return Variant(typed.ToBool());
        case VarType::Integer:
            return Variant(typed.ToInteger());
        case VarType::Long:
            return Variant(typed.ToLong());
        case VarType::Single:
            return Variant(typed.ToSingle());
        case VarType::Double:
            return Variant(typed.ToDouble());
        case VarType::Date:
            return Variant(typed.ToDate());
        case VarType::Object:
            Raise(err::InvalidPropertyValue);
        default:
            return typed;  // String and Variant properties take the text as typed
    }
}

}  // namespace qv::demo
