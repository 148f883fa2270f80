// DrawTextA: text laid out in a rectangle, line by line, each line drawn as one run.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "gdi/paint.h"
#include "text/face.h"
#include "text/face_source.h"
#include "text/text_run.h"
#include "winplat/text.h"

namespace winplat::text {
namespace {

constexpr UINT kSupported = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK | DT_SINGLELINE |
                            DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX;
constexpr int kTabStopChars = 8;

struct Glyph {
    char byte;
    bool prefixed;  // underlined by an '&' before it
};

using Glyphs = std::vector<Glyph>;

// The text with its '&' prefixes resolved: "&&" is one '&', "&x" marks x; a lone '&' at the end
// is dropped.
Glyphs resolvePrefixes(std::string_view text, bool noPrefix) {
    Glyphs glyphs;
    for (size_t i = 0; i < text.size(); ++i) {
        if (noPrefix || text[i] != '&') {
            glyphs.push_back({text[i], false});
        } else if (i + 1 < text.size()) {
            ++i;
            glyphs.push_back({text[i], text[i] != '&'});
        }
    }
    return glyphs;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

class Layout {
  public:
    Layout(const Face& face, UINT format) : face_(face), format_(format) {
        tabStop_ = std::max(1, static_cast<int>(face.metrics().text.tmAveCharWidth) * kTabStopChars);
    }

    // The advance of a glyph that starts 'x' pixels into its line.
    int advance(char byte, int64_t x) const {
        if (byte == '\t' && (format_ & DT_EXPANDTABS))
            return static_cast<int>((x / tabStop_ + 1) * tabStop_ - x);
        return face_.advance(static_cast<uint8_t>(byte));
    }

    int64_t width(const Glyphs& line) const {
        int64_t x = 0;
        for (const Glyph& g : line) x += advance(g.byte, x);
        return x;
    }

    // Breaks one paragraph into lines no wider than 'limit' where spaces allow.
    void wrap(const Glyphs& paragraph, int64_t limit, std::vector<Glyphs>& lines) const {
        Glyphs line;
        size_t i = 0;
        while (i < paragraph.size()) {
            size_t end = i;  // the next word with the spaces before it
            while (end < paragraph.size() && isSpace(paragraph[end].byte)) ++end;
            while (end < paragraph.size() && !isSpace(paragraph[end].byte)) ++end;
            Glyphs candidate = line;
            candidate.insert(candidate.end(), paragraph.begin() + static_cast<ptrdiff_t>(i),
                             paragraph.begin() + static_cast<ptrdiff_t>(end));
            if (!line.empty() && width(candidate) > limit) {
                lines.push_back(line);
                line.clear();
                while (i < end && isSpace(paragraph[i].byte)) ++i;  // the break eats its spaces
                continue;
            }
            line = std::move(candidate);
            i = end;
        }
        lines.push_back(line);
    }

    std::vector<Glyphs> lines(const Glyphs& text, int64_t limit) const {
        std::vector<Glyphs> result;
        if (format_ & DT_SINGLELINE) return {text};
        Glyphs paragraph;
        for (size_t i = 0; i <= text.size(); ++i) {
            const bool end = i == text.size();
            if (!end && text[i].byte != '\r' && text[i].byte != '\n') {
                paragraph.push_back(text[i]);
                continue;
            }
            if (format_ & DT_WORDBREAK) {
                wrap(paragraph, limit, result);
            } else {
                result.push_back(paragraph);
            }
            paragraph.clear();
            if (!end && text[i].byte == '\r' && i + 1 < text.size() && text[i + 1].byte == '\n') ++i;
        }
        return result;
    }

  private:
    const Face& face_;
    UINT format_;
    int tabStop_ = 1;
};

struct LineRun {
    std::string bytes;
    std::vector<int> dx;
    int prefixed = -1;
};

// The bytes and advances of a line as a run draws them: expanded tabs become blank spaces.
LineRun lineRun(const Layout& layout, const Glyphs& line, UINT format) {
    LineRun run;
    int64_t x = 0;
    for (const Glyph& g : line) {
        const int advance = layout.advance(g.byte, x);
        if (g.prefixed && run.prefixed < 0) run.prefixed = static_cast<int>(run.bytes.size());
        run.bytes += g.byte == '\t' && (format & DT_EXPANDTABS) ? ' ' : g.byte;
        run.dx.push_back(advance);
        x += advance;
    }
    return run;
}

int drawText(gdi::DeviceContextObject& dc, std::string_view text, RECT& rect, UINT format,
             const CallRefuser& refuse) {
    auto font = gdi::findFont(dc.state.font);
    if (!font) return 0;
    const Face& face = fontFace(*font);
    const int lineHeight = face.metrics().text.tmHeight;
    const Layout layout(face, format);
    const std::vector<Glyphs> lines =
        layout.lines(resolvePrefixes(text, format & DT_NOPREFIX), int64_t{rect.right} - rect.left);
    const int64_t height = static_cast<int64_t>(lines.size()) * lineHeight;
    int64_t top = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM) {
            top = rect.bottom - height;
        } else if (format & DT_VCENTER) {
            top = rect.top + (int64_t{rect.bottom} - rect.top - height) / 2;
        }
    }
    if (!gdi::coordinatesFit({top, height, top + height})) return refuse(0, "text beyond 2^27 pixels");

    if (format & DT_CALCRECT) {
        int64_t widest = 0;
        for (const Glyphs& line : lines) widest = std::max(widest, layout.width(line));
        if (!gdi::coordinatesFit({widest, rect.left + widest})) return refuse(0, "text beyond 2^27 pixels");
        rect.right = static_cast<LONG>(rect.left + widest);
        rect.bottom = static_cast<LONG>(top + height);
    } else {
        const UINT options = format & DT_NOCLIP ? 0 : ETO_CLIPPED;
        int64_t y = top;
        for (const Glyphs& line : lines) {
            const LineRun run = lineRun(layout, line, format);
            const int64_t width = layout.width(line);
            int64_t x = rect.left;
            if (format & DT_RIGHT) {
                x = rect.right - width;
            } else if (format & DT_CENTER) {
                x = rect.left + (int64_t{rect.right} - rect.left - width) / 2;
            }
            if (!gdi::coordinatesFit({x})) return refuse(0, "text beyond 2^27 pixels");
            const TextRun textRun{static_cast<int>(x),
                                  static_cast<int>(y),
                                  TA_TOP | TA_LEFT,
                                  options,
                                  &rect,
                                  run.bytes.data(),
                                  static_cast<int>(run.bytes.size()),
                                  run.dx.data(),
                                  run.prefixed};
            if (!drawRun(dc, textRun, refuse)) return 0;
            y += lineHeight;
        }
    }
    const int64_t result =
        format & (DT_VCENTER | DT_BOTTOM) && (format & DT_SINGLELINE) ? top + height - rect.top : height;
    return static_cast<int>(result);
}

}  // namespace
}  // namespace winplat::text

using namespace winplat;

int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    constexpr CallRefuser refuse("winplat: DrawTextA");
    if ((format & ~text::kSupported) != 0) return refuse.unsupported(0, "format " + std::to_string(format));
    if (!rect || (count != 0 && !text) || count < -1) return refuse(0, "no text or no rectangle");
    const std::string_view view(text ? text : "",
                                count == -1 ? std::strlen(text) : static_cast<size_t>(count));
    return gdi::onDc(dc, 0, [&](gdi::DeviceContextObject& context) {
        return text::drawText(context, view, *rect, format, refuse);
    });
}
