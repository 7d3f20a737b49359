// EventLog: every event of the form's controls, one line each ("txtName: KeyPress(KeyAscii=97)"),
// newest at the bottom, the oldest dropped beyond kMaxLines. Also counts events by name.
#pragma once

#include <QHash>
#include <QPlainTextEdit>
#include <span>

#include "hosts/qt/ControlWidget.h"
#include "library/Variant.h"

namespace qv::demo {

class EventLog : public QPlainTextEdit {
    Q_OBJECT
  public:
    static constexpr int kMaxLines = 1000;

    explicit EventLog(QWidget* parent = nullptr);

    // Sends every event of the control here (its one event listener), named by objectName().
    void attach(qt::ControlWidget& control);

    void logEvent(const QString& source, StringView event, std::span<const Variant> args);
    void logLine(const QString& line);

    // Events seen since the last resetCounts(), the dropped lines included.
    int count(const QString& event) const { return counts_.value(event); }
    int total() const { return total_; }
    void resetCounts();

    // "txtName: KeyPress(KeyAscii=97)"; arguments named as the event declares them.
    static QString FormatEvent(const QString& source, StringView event,
                               std::span<const Variant> args);
    // A value as the log shows it: numbers and True/False plain, text quoted, Null as Null.
    static QString FormatValue(const Variant& v);

  private:
    QHash<QString, int> counts_;
    int total_ = 0;
};

}  // namespace qv::demo
