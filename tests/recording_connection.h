// A connection for tests that records every call the combo box makes on it and on the result
// sets it opens, and plays back scripted rows (with scripted failures).
#pragma once

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "library/Dispatch.h"

namespace qv_test {

using qv::String;
using qv::StringView;
using qv::Variant;

struct Rows {
    std::vector<String> columns;
    std::vector<std::vector<Variant>> rows;
    std::set<std::pair<size_t, size_t>> failingReads;  // (row, column)
    size_t failMoveNextAt = SIZE_MAX;                  // MoveNext on this row fails
    size_t failEofAt = SIZE_MAX;                       // EOF on this row fails
};

inline String ShowArg(const Variant& v) {
    if (v.IsMissing()) return u"missing";
    if (v.IsString()) return u"\"" + v.ToString() + u"\"";
    return v.ToString();
}

class RecordingSet final : public qv::Dispatch {
  public:
    RecordingSet(std::shared_ptr<String> log, Rows rows)
        : log_(std::move(log)), rows_(std::move(rows)) {}
    std::shared_ptr<qv::Object> Clone() const override {
        return std::make_shared<RecordingSet>(*this);
    }
    String TypeName() const override { return u"RecordingSet"; }
    bool Supports(StringView) const override { return false; }
    Variant Call(StringView name, std::span<const Variant> args) override;

  private:
    class Column;
    void Log(const String& s) { *log_ += s + u"; "; }
    std::shared_ptr<String> log_;
    Rows rows_;
    size_t at_ = 0;
};

class RecordingSet::Column final : public qv::Dispatch {
  public:
    Column(std::shared_ptr<String> log, String name, Variant value)
        : log_(std::move(log)), name_(std::move(name)), value_(std::move(value)) {}
    std::shared_ptr<qv::Object> Clone() const override { return std::make_shared<Column>(*this); }
    String TypeName() const override { return u"Column"; }
    bool Supports(StringView) const override { return false; }
    Variant Call(StringView name, std::span<const Variant>) override {
        if (name.empty()) return value_;
        if (name == u"Name") {
            *log_ += u".Name; ";
            return name_;
        }
        qv::Raise(qv::err::NoSuchMember);
    }

  private:
    std::shared_ptr<String> log_;
    String name_;
    Variant value_;
};

inline Variant RecordingSet::Call(StringView name, std::span<const Variant> args) {
    if (name.empty()) {
        Log(u"(" + ShowArg(args[0]) + u")");
        if (at_ >= rows_.rows.size()) qv::Raise(3000, u"test", u"no current row");
        size_t c = 0;
        if (args[0].IsString()) {
            while (c < rows_.columns.size() && rows_.columns[c] != args[0].ToString()) ++c;
        } else {
            c = static_cast<size_t>(args[0].ToLong());
        }
        if (c >= rows_.columns.size()) qv::Raise(3000, u"test", u"no such column");
        if (rows_.failingReads.count({at_, c})) qv::Raise(3000, u"test", u"read failed");
        return std::shared_ptr<qv::Object>(
            std::make_shared<Column>(log_, rows_.columns[c], rows_.rows[at_][c]));
    }
    Log(String(name));
    if (name == u"EOF") {
        if (at_ == rows_.failEofAt) qv::Raise(3000, u"test", u"connection lost");
        return at_ >= rows_.rows.size();
    }
    if (name == u"MoveNext") {
        if (at_ == rows_.failMoveNextAt) qv::Raise(3000, u"test", u"connection lost");
        ++at_;
        return {};
    }
    if (name == u"Close") return {};
    qv::Raise(qv::err::NoSuchMember);
}

// A connection of the kind `interfaceId` names (empty: none of the three) that logs its open
// calls into the same log and fails the first `failingOpens` of them.
class RecordingConnection final : public qv::Dispatch {
  public:
    RecordingConnection(String interfaceId, Rows rows, int failingOpens = 0)
        : interfaceId_(std::move(interfaceId)),
          rows_(std::move(rows)),
          failingOpens_(failingOpens) {}
    std::shared_ptr<qv::Object> Clone() const override {
        return std::make_shared<RecordingConnection>(*this);
    }
    String TypeName() const override { return u"RecordingConnection"; }
    bool Supports(StringView id) const override {
        return !interfaceId_.empty() && id == interfaceId_;
    }
    Variant Call(StringView name, std::span<const Variant> args) override {
        String call = String(name) + u"(";
        for (size_t i = 0; i < args.size(); ++i) call += (i ? u", " : u"") + ShowArg(args[i]);
        *log += call + u"); ";
        if (failingOpens_ > 0) {
            --failingOpens_;
            qv::Raise(3000, u"test", u"open refused");
        }
        if (name != u"OpenRecordset" && name != u"OpenResultset") qv::Raise(qv::err::NoSuchMember);
        return std::shared_ptr<qv::Object>(std::make_shared<RecordingSet>(log, rows_));
    }

    std::shared_ptr<String> log = std::make_shared<String>();

  private:
    String interfaceId_;
    Rows rows_;
    int failingOpens_;
};

}  // namespace qv_test
