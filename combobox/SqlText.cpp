#include "combobox/SqlText.h"

namespace qv {

namespace {

constexpr StringView kPlaceholder = u"{DataField}";

enum class Place { Code, Literal, EscapeLiteral, DollarLiteral, Identifier, Comment };

struct Context {
    Place place = Place::Code;
    String dollarTag;  // the tag of a dollar-quoted literal, "$tag$"
};

bool IsWordUnit(char16_t c) {
    return c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
           (c >= u'A' && c <= u'Z') || c >= 0x80;
}

// Where the text after `sql` stands: in code, in a literal, an identifier or a comment.
Context PlaceAfter(StringView sql) {
    Context ctx;
    int blockDepth = 0;  // nested block comments (PostgreSQL nests them)
    const size_t n = sql.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = sql[i];
        const char16_t next = i + 1 < n ? sql[i + 1] : u'\0';
        switch (ctx.place) {
            case Place::Code:
                if (c == u'\'') {
                    const bool escape = i > 0 && (sql[i - 1] == u'E' || sql[i - 1] == u'e') &&
                                        (i < 2 || !IsWordUnit(sql[i - 2]));
                    ctx.place = escape ? Place::EscapeLiteral : Place::Literal;
                } else if (c == u'"') {
                    ctx.place = Place::Identifier;
                } else if (c == u'-' && next == u'-') {
                    ctx.place = Place::Comment;
                    blockDepth = 0;
                    ++i;
                } else if (c == u'/' && next == u'*') {
                    ctx.place = Place::Comment;
                    blockDepth = 1;
                    ++i;
                } else if (c == u'$' && (i == 0 || !IsWordUnit(sql[i - 1]))) {
                    size_t j = i + 1;
                    while (j < n && IsWordUnit(sql[j]) &&
                           !(j == i + 1 && sql[j] >= u'0' && sql[j] <= u'9'))
                        ++j;
                    if (j < n && sql[j] == u'$') {
                        ctx.place = Place::DollarLiteral;
                        ctx.dollarTag = String(sql.substr(i, j - i + 1));
                        i = j;
                    }
                }
                break;
            case Place::Literal:
                if (c == u'\'') ctx.place = Place::Code;  // a doubled quote re-enters at once
                break;
            case Place::EscapeLiteral:
                if (c == u'\\')
                    ++i;
                else if (c == u'\'')
                    ctx.place = Place::Code;
                break;
            case Place::DollarLiteral:
                if (sql.substr(i).starts_with(ctx.dollarTag)) {
                    i += ctx.dollarTag.size() - 1;
                    ctx.place = Place::Code;
                }
                break;
            case Place::Identifier:
                if (c == u'"') ctx.place = Place::Code;
                break;
            case Place::Comment:
                if (blockDepth == 0) {
                    if (c == u'\n' || c == u'\r') ctx.place = Place::Code;
                } else if (c == u'*' && next == u'/') {
                    if (--blockDepth == 0) ctx.place = Place::Code;
                    ++i;
                } else if (c == u'/' && next == u'*') {
                    ++blockDepth;
                    ++i;
                }
                break;
        }
    }
    return ctx;
}

String Doubled(StringView value, char16_t quote, bool backslashes) {
    String out;
    out.reserve(value.size() + 2);
    for (const char16_t c : value) {
        if (c == u'\0') continue;
        if (c == quote || (backslashes && c == u'\\')) out += c;
        out += c;
    }
    return out;
}

String AsData(StringView value, const Context& ctx) {
    switch (ctx.place) {
        case Place::Code:
            return u"'" + Doubled(value, u'\'', false) + u"'";
        case Place::Literal:
            return Doubled(value, u'\'', false);
        case Place::EscapeLiteral:
            return Doubled(value, u'\'', true);
        case Place::Identifier:
            return Doubled(value, u'"', false);
        case Place::DollarLiteral: {
            String out = Doubled(value, u'\0', false);
            for (size_t at; (at = out.find(ctx.dollarTag)) != String::npos;)
                out.erase(at, ctx.dollarTag.size());
            return out;
        }
        case Place::Comment:
            return {};
    }
    return {};
}

}  // namespace

String BuildSqlText(StringView query, StringView value, StringView dataField) {
    if (dataField.empty()) return String(query);
    if (TrimBlanks(query).empty()) return {};
    const size_t p = query.find(kPlaceholder);
    if (p == StringView::npos) return TrimBlanks(query);
    const StringView before = query.substr(0, p);
    String sql(before);
    sql += AsData(value, PlaceAfter(before));
    sql += query.substr(p + kPlaceholder.size());
    return TrimBlanks(sql);
}

}  // namespace qv
