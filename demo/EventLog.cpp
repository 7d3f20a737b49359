#include "demo/EventLog.h"

#include <QPointer>
#include <QScrollBar>
#include <QStringList>

#include "hosts/qt/QtConvert.h"

namespace qv::demo {

namespace {

struct EventParams {
    const char16_t* event;
    std::initializer_list<const char*> params;
};

// The listener hands over values only; the names come from the events' declarations.
const EventParams kParams[] = {
    {u"KeyDown", {"KeyCode", "Shift"}},
    {u"KeyUp", {"KeyCode", "Shift"}},
    {u"KeyPress", {"KeyAscii"}},
    {u"MouseDown", {"Button", "Shift", "X", "Y"}},
    {u"MouseMove", {"Button", "Shift", "X", "Y"}},
    {u"MouseUp", {"Button", "Shift", "X", "Y"}},
    {u"ValidationCheck", {"ValueOkay"}},
};

QString ParamName(StringView event, size_t i) {
    for (const EventParams& e : kParams)
        if (event == e.event && i < e.params.size())
            return QString::fromLatin1(*(e.params.begin() + i));
    return QStringLiteral("arg%1").arg(i + 1);
}

}  // namespace

EventLog::EventLog(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setMaximumBlockCount(kMaxLines);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setObjectName(QStringLiteral("eventLog"));
}

void EventLog::attach(qt::ControlWidget& control) {
    QPointer<EventLog> log(this);
    QPointer<qt::ControlWidget> source(&control);
    control.control().SetEventListener(
        [log, source](StringView event, std::span<const Variant> args) {
            if (log) log->logEvent(source ? source->objectName() : QString(), event, args);
        });
}

void EventLog::logEvent(const QString& source, StringView event, std::span<const Variant> args) {
    ++counts_[qt::ToQString(event)];
    ++total_;
    logLine(FormatEvent(source, event, args));
}

void EventLog::logLine(const QString& line) {
    appendPlainText(line);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void EventLog::resetCounts() {
    counts_.clear();
    total_ = 0;
}

QString EventLog::FormatEvent(const QString& source, StringView event,
                              std::span<const Variant> args) {
    QStringList parts;
    for (size_t i = 0; i < args.size(); ++i)
        parts << ParamName(event, i) + QLatin1Char('=') + FormatValue(args[i]);
    QString line = source.isEmpty() ? QString() : source + QStringLiteral(": ");
    line += qt::ToQString(event);
    if (!args.empty())
        line += QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
    return line;
}

QString EventLog::FormatValue(const Variant& v) {
    if (v.IsNull()) return QStringLiteral("Null");
    if (v.IsObject()) {
        auto o = v.ToObject();
        return QLatin1Char('<') + qt::ToQString(o ? o->TypeName() : String()) + QLatin1Char('>');
    }
    if (v.IsMissing()) return QStringLiteral("Missing");
    if (v.IsString()) return QLatin1Char('"') + qt::ToQString(v.ToString()) + QLatin1Char('"');
    return qt::ToQString(v.ToString());
}

}  // namespace qv::demo
