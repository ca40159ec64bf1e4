#include "report/MarkdownText.h"

#include <QChar>

#include <array>
#include <bit>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isAsciiAlnum(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// Characters that start emphasis, code, links, HTML, tables, strike-through or a closing
// heading sequence anywhere in a line. A table, because this runs over every character.
constexpr auto AlwaysEscaped = [] {
    std::array<bool, 128> table{};
    for (const char c : std::string_view("\\`*_[]<>|~#"))
        table[size_t(c)] = true;
    return table;
}();

// Every ASCII character the escaping loop has to look at more closely.
constexpr auto MaybeSpecial = [] {
    std::array<bool, 128> table = AlwaysEscaped;
    for (const char c : std::string_view("\r\n&"))
        table[size_t(c)] = true;
    return table;
}();

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

} // namespace

qsizetype MarkdownText::skip(qsizetype bytes)
{
    // The slack after the gap stays, for whatever is written next.
    reserveBytes(bytes + roomFor(0));
    m_at += bytes;
    return size() - bytes;
}

void MarkdownText::fill(qsizetype gapAt, qsizetype gapSize, QByteArrayView bytes)
{
    if (bytes.size() > gapSize)
        reserveBytes(bytes.size() - gapSize + roomFor(0));
    char* gap = m_bytes.data() + gapAt;
    const qsizetype after = size() - (gapAt + gapSize);
    std::memmove(gap + bytes.size(), gap + gapSize, size_t(after));
    std::memcpy(gap, bytes.data(), size_t(bytes.size()));
    m_at = gap + bytes.size() + after;
}

qsizetype MarkdownText::putPlain(const char16_t* chars, qsizetype i, qsizetype n)
{
    char* at = m_at;
#if defined(__SSE2__)
    // Sixteen characters narrowed to bytes: one above U+00FF becomes 0xFF and one from
    // U+8000 on becomes 0, which both end a run, as every byte from 0x80 on does.
    // Stricter than the table below (tabs, "=", "^", "}" and DEL end a run too), which
    // only sends a few harmless characters the slow way.
    const auto look = [&](qsizetype from, __m128i& bytes) {
        const auto* at = reinterpret_cast<const __m128i*>(chars + from);
        const __m128i b = _mm_packus_epi16(_mm_loadu_si128(at), _mm_loadu_si128(at + 1));
        const auto is = [&](char c) { return _mm_cmpeq_epi8(b, _mm_set1_epi8(c)); };
        // Signed bytes: from 0x80 on they are below ' ' too.
        const auto inRange = [&](char low, char high) {
            return _mm_and_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8(char(low - 1))),
                                 _mm_cmplt_epi8(b, _mm_set1_epi8(char(high + 1))));
        };
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(is('#'), is('&')), _mm_or_si128(is('*'), inRange('<', '>'))),
            _mm_or_si128(inRange('[', '`'),
                         _mm_cmpeq_epi8(inRange(' ', '{'), _mm_setzero_si128())));
        bytes = b;
        return unsigned(_mm_movemask_epi8(special));
    };
    __m128i bytes;
    for (; i + 16 <= n; i += 16, at += 16) {
        const unsigned stop = look(i, bytes);
        // All sixteen are stored; the buffer's slack takes the ones past the run.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), bytes);
        if (stop != 0) {
            const int k = std::countr_zero(stop);
            m_at = at + k;
            return i + k;
        }
    }
    if (i < n && n >= 16) {
        // The last few are looked at as the end of the last sixteen, without a loop
        // whose length would have to be guessed.
        const qsizetype seen = i - (n - 16);
        const unsigned stop = look(n - 16, bytes) >> seen;
        alignas(16) char staged[32];
        _mm_store_si128(reinterpret_cast<__m128i*>(staged), bytes);
        std::memcpy(at, staged + seen, 16);
        const qsizetype k = stop != 0 ? std::countr_zero(stop) : n - i;
        m_at = at + k;
        return i + k;
    }
#endif
    for (; i < n && chars[i] < 0x80 && !MaybeSpecial[chars[i]]; ++i)
        *at++ = char(chars[i]);
    m_at = at;
    return i;
}

qsizetype MarkdownText::putWide(const char16_t* chars, qsizetype i, qsizetype n)
{
    const char32_t c = chars[i];
    if (c < 0x800) {
        *m_at++ = char(0xC0 | (c >> 6));
        *m_at++ = char(0x80 | (c & 0x3F));
    } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(chars[i + 1])) {
        const char32_t u = QChar::surrogateToUcs4(char16_t(c), chars[i + 1]);
        *m_at++ = char(0xF0 | (u >> 18));
        *m_at++ = char(0x80 | ((u >> 12) & 0x3F));
        *m_at++ = char(0x80 | ((u >> 6) & 0x3F));
        *m_at++ = char(0x80 | (u & 0x3F));
        return i + 1;
    } else {
        const char32_t u = QChar::isSurrogate(c) ? char32_t(QChar::ReplacementCharacter) : c;
        *m_at++ = char(0xE0 | (u >> 12));
        *m_at++ = char(0x80 | ((u >> 6) & 0x3F));
        *m_at++ = char(0x80 | (u & 0x3F));
    }
    return i;
}

void MarkdownText::appendEscaped(QStringView text, bool inLine)
{
    qsizetype i = 0;
    if (!inLine) {
        // Leading blanks would indent the line into a code block, and trailing ones could
        // end it in a hard line break.
        const auto blank = [&](qsizetype at) { return text[at] == u' ' || text[at] == u'\t'; };
        while (i < text.size() && blank(i))
            ++i;
        while (text.size() > i && blank(text.size() - 1))
            text.chop(1);
        // A list, a rule or a setext underline would start here.
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+' || text[i] == u'=')) {
            *this += '\\';
        } else {
            qsizetype j = i;
            while (j < text.size() && isDigit(text[j]))
                ++j;
            // "1." or "1)" starts an ordered list.
            if (j > i && j < text.size() && (text[j] == u'.' || text[j] == u')')) {
                *this += text.sliced(i, j - i);
                *this += '\\';
                i = j;
            }
        }
    }
    const char16_t* chars = text.utf16();
    const qsizetype n = text.size();
    while (i < n) {
        i = putPlain(chars, i, n);
        if (i == n)
            break;
        const char16_t c = chars[i];
        if (c >= 0x80) {
            i = put(chars, i, n);
        } else if (c == u'\r' || c == u'\n') {
            *this += ' ';
        } else {
            // "&copy;" would become a character reference; a lone "&" stays.
            if (AlwaysEscaped[c] ||
                (c == u'&' && i + 1 < n && (isAsciiAlnum(text[i + 1]) || text[i + 1] == u'#')))
                *this += '\\';
            *this += char(c);
        }
        ++i;
    }
}
