// Wildcard matching of layer names for the layer walk's filters. Names and
// patterns are UTF-8 and are compared character by character (a character
// such as "é" is one character); letter case is folded for the scripts
// whose letters have cases (Latin, Greek, Cyrillic, Armenian).
#include "walk_wildcard.h"

#include <cstdint>
#include <vector>

namespace tarn::layer {
namespace {

using Text = std::u32string;

// One character of UTF-8 text; a byte that starts no valid sequence stands
// for itself, so that any text can be matched.
char32_t NextCharacter(std::string_view text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    size_t length = first < 0x80 ? 1 : (first >> 5) == 6 ? 2 : (first >> 4) == 14 ? 3 : (first >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return first;
    }
    char32_t code = length == 1 ? first : first & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return first;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return code;
}

Text Decode(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) out.push_back(NextCharacter(text, at));
    return out;
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Upper-case letters to lower case for the cased scripts.
char32_t Fold(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0x80) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0x531 && c <= 0x556) return c + 48;
    const bool pairedLatin = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
                             (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) ||
                             (c >= 0x4D0 && c <= 0x52F);
    if (pairedLatin) return c | 1;
    const bool oddPaired = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE);
    if (oddPaired && (c & 1)) return c + 1;
    return c;
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// The letters of the Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic, CJK,
// kana and Hangul scripts.
bool IsLetter(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    struct Range {
        char32_t first, last;
    };
    static constexpr Range kLetters[] = {{0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x24F},   {0x370, 0x3FF},
                                         {0x400, 0x52F},   {0x531, 0x587},   {0x5D0, 0x5EA},  {0x620, 0x64A},
                                         {0x671, 0x6D3},   {0x1E00, 0x1FFF}, {0x3040, 0x30FF}, {0x3400, 0x4DBF},
                                         {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}};
    for (const Range& r : kLetters)
        if (c >= r.first && c <= r.last && c != 0xD7 && c != 0xF7) return true;
    return false;
}

// A bracket [...] starting at p[at] == '['. Sets `end` after the closing
// "]" and answers whether `c` is among the listed characters; false with
// end == at when the bracket is never closed (then "[" is a character).
bool MatchBracket(const Text& p, size_t at, char32_t c, size_t& end) {
    size_t i = at + 1;
    const bool negated = i < p.size() && p[i] == '~';
    if (negated) ++i;
    std::vector<char32_t> listed;
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool first = true;
    for (; i < p.size(); first = false) {
        char32_t ch = p[i];
        if (ch == ']' && !first) {
            end = i + 1;
            const char32_t folded = Fold(c);
            bool found = false;
            for (char32_t l : listed) found = found || Fold(l) == folded;
            for (auto [lo, hi] : ranges) found = found || (c >= lo && c <= hi) || (folded >= Fold(lo) && folded <= Fold(hi));
            return found != negated;
        }
        if (ch == '`' && i + 1 < p.size()) ch = p[++i];
        if (i + 2 < p.size() && p[i + 1] == '-' && p[i + 2] != ']') {
            char32_t hi = p[i + 2];
            size_t next = i + 3;
            if (hi == '`' && i + 3 < p.size()) hi = p[i + 3], next = i + 4;
            ranges.emplace_back(ch, hi);
            i = next;
            continue;
        }
        listed.push_back(ch);
        ++i;
    }
    end = at;
    return false;
}

// One character of the pattern at p[pi] against `c`; `next` is where the
// pattern goes on.
bool StepMatches(const Text& p, size_t pi, char32_t c, size_t& next) {
    const char32_t ch = p[pi];
    next = pi + 1;
    if (ch == '#') return IsDigit(c);
    if (ch == '@') return IsLetter(c);
    if (ch == '.') return !IsLetter(c) && !IsDigit(c);
    if (ch == '?') return true;
    if (ch == '[') {
        size_t end = pi;
        const bool listed = MatchBracket(p, pi, c, end);
        if (end == pi) return c == '[';
        next = end;
        return listed;
    }
    if (ch == '`' && pi + 1 < p.size()) {
        next = pi + 2;
        return Fold(p[pi + 1]) == Fold(c);
    }
    return Fold(ch) == Fold(c);
}

// One alternative against the whole name. "*" keeps only its latest
// position to go back to, so matching stays quadratic at worst.
bool MatchOne(const Text& p, size_t pi, const Text& n) {
    constexpr size_t kNone = static_cast<size_t>(-1);
    size_t ni = 0, starP = kNone, starN = 0;
    while (ni < n.size()) {
        size_t next = 0;
        if (pi < p.size() && p[pi] == '*') {
            starP = ++pi;
            starN = ni;
        } else if (pi < p.size() && StepMatches(p, pi, n[ni], next)) {
            pi = next;
            ++ni;
        } else if (starP != kNone) {
            pi = starP;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

// Splits at the commas that are neither escaped nor inside a bracket.
std::vector<Text> Alternatives(const Text& pattern) {
    std::vector<Text> out(1);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t ch = pattern[i];
        if (ch == '`' && i + 1 < pattern.size()) {
            out.back() += pattern.substr(i, 2);
            ++i;
        } else if (ch == '[') {
            size_t end = i;
            MatchBracket(pattern, i, 0, end);
            const size_t stop = end > i ? end : i + 1;
            out.back() += pattern.substr(i, stop - i);
            i = stop - 1;
        } else if (ch == ',') {
            out.emplace_back();
        } else {
            out.back() += ch;
        }
    }
    return out;
}

}  // namespace

bool MatchesLayerFilter(std::string_view pattern, std::string_view name) {
    const Text n = Decode(name);
    for (const Text& alternative : Alternatives(Decode(pattern))) {
        const bool negated = !alternative.empty() && alternative[0] == '~';
        if (MatchOne(alternative, negated ? 1 : 0, n) != negated) return true;
    }
    return false;
}

std::string FoldedLayerName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (size_t at = 0; at < name.size();) Encode(Fold(NextCharacter(name, at)), out);
    return out;
}

}  // namespace tarn::layer
