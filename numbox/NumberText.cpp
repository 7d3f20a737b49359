#include "numbox/NumberText.h"

namespace qv::numtext {

String PreDecimalDigits(StringView text, Chars c) {
    String out;
    for (char16_t ch : text) {
        if (ch == c.dec) break;
        if (ch != c.sep && ch != u'-' && ch != u' ') out.push_back(ch);
    }
    return out;
}

String PostDecimalDigits(StringView text, Chars c) {
    const size_t at = text.find(c.dec);
    String out;
    if (at == StringView::npos) return out;
    for (char16_t ch : text.substr(at + 1))
        if (ch != c.sep) out.push_back(ch);
    return out;
}

String GroupPreDecimal(StringView digits, char16_t sep) {
    String out;
    out.reserve(digits.size() + digits.size() / 3);
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out.push_back(sep);
        out.push_back(digits[i]);
    }
    return out;
}

String GroupPostDecimal(StringView digits, char16_t sep) {
    String out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && i % 3 == 0) out.push_back(sep);
        out.push_back(digits[i]);
    }
    return out;
}

String FormatDisplayText(StringView text, Chars c, bool separator) {
    String pre = PreDecimalDigits(text, c);
    String post = PostDecimalDigits(text, c);
    if (separator) {
        pre = GroupPreDecimal(pre, c.sep);
        post = GroupPostDecimal(post, c.sep);
    }
    String result = std::move(pre);
    if (!post.empty()) {
        result.push_back(c.dec);
        result += post;
    } else if (!text.empty() && text.back() == c.dec) {
        result.push_back(c.dec);
    }
    if (!text.empty() && text.front() == u'-') result.insert(result.begin(), u'-');
    return result;
}

namespace {
// Adds the carry to a run of digits from the right; returns whether it survives.
bool Carry(String& digits, bool carry) {
    for (size_t i = digits.size(); carry && i-- > 0;) {
        if (digits[i] >= u'0' && digits[i] < u'9') {
            ++digits[i];
            carry = false;
        } else {
            digits[i] = u'0';  // 9 (or a stray character) + 1 wraps and carries on
        }
    }
    return carry;
}
}  // namespace

std::optional<String> FormatNumber(StringView valueText, bool negative, int preDigits,
                                   int postDigits, Chars c, bool separator) {
    const size_t point = valueText.find(u'.');
    String pre(valueText.substr(0, point));
    String post(point == StringView::npos ? StringView() : valueText.substr(point + 1));
    if (pre.empty()) pre = u"0";  // "-" typed alone is minus zero, not ",00"
    const auto maxPre = static_cast<size_t>(preDigits < 0 ? 0 : preDigits);
    const auto maxPost = static_cast<size_t>(postDigits < 0 ? 0 : postDigits);
    if (pre.size() > maxPre) return std::nullopt;
    if (post.size() > maxPost) {
        const bool up = post[maxPost] >= u'5';
        post.resize(maxPost);
        if (Carry(post, up) && Carry(pre, true)) {
            pre.insert(pre.begin(), u'1');
            if (pre.size() > maxPre) return std::nullopt;
        }
    }
    post.append(maxPost - post.size(), u'0');
    if (separator) {
        pre = GroupPreDecimal(pre, c.sep);
        post = GroupPostDecimal(post, c.sep);
    }
    String result = std::move(pre);
    if (maxPost != 0) {
        result.push_back(c.dec);
        result += post;
    }
    if (negative) result.insert(result.begin(), u'-');
    return result;
}

bool IsPlainDecimal(StringView text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == u' ') ++i;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) ++i;
    bool digit = false, point = false;
    for (; i < n && text[i] != u' '; ++i) {
        if (text[i] >= u'0' && text[i] <= u'9') {
            digit = true;
        } else if (text[i] == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    while (i < n && text[i] == u' ') ++i;
    return digit && i == n;
}

}  // namespace qv::numtext
