// A picture of the simulated screen as a 24-bit BMP: the desktop, then every
// shown top-level window from the bottom of the Z order up, each with its
// frame, caption, menu bar, client area and shown children, with captions and
// control texts in a small 5 by 7 font.
#include "Internal.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>

using namespace winsim::detail;

namespace {

struct Color {
    uint8_t r, g, b;
};

const Color kDesktop = {0, 128, 128};
const Color kFrame = {192, 192, 192};
const Color kShadow = {64, 64, 64};
const Color kActiveCaption = {0, 0, 128};
const Color kInactiveCaption = {128, 128, 128};
const Color kMenuBar = {224, 224, 224};
const Color kWhite = {255, 255, 255};
const Color kBlack = {0, 0, 0};

const char kGlyphs[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.,:-()#|/&";
const uint8_t kFont[][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08},
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00},
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}, {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08},
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}, {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}, {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D},
};

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 3)
    {
    }

    void Fill(RECT r, const RECT &clip, Color c)
    {
        r.left = std::max({r.left, clip.left, LONG{0}});
        r.top = std::max({r.top, clip.top, LONG{0}});
        r.right = std::min({r.right, clip.right, static_cast<LONG>(width_)});
        r.bottom = std::min({r.bottom, clip.bottom, static_cast<LONG>(height_)});
        for (LONG y = r.top; y < r.bottom; ++y) {
            for (LONG x = r.left; x < r.right; ++x) {
                uint8_t *p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
        }
    }

    void Outline(const RECT &r, const RECT &clip, Color c)
    {
        Fill({r.left, r.top, r.right, r.top + 1}, clip, c);
        Fill({r.left, r.bottom - 1, r.right, r.bottom}, clip, c);
        Fill({r.left, r.top, r.left + 1, r.bottom}, clip, c);
        Fill({r.right - 1, r.top, r.right, r.bottom}, clip, c);
    }

    void Print(const std::string &text, LONG x, LONG y, RECT clip, LONG limit, Color c)
    {
        clip.right = std::min(clip.right, limit);
        for (char ch : text) {
            const char *at = std::strchr(kGlyphs, std::toupper(static_cast<unsigned char>(ch)));
            if (ch != ' ' && at != nullptr && *at != '\0') {
                const uint8_t *glyph = kFont[at - kGlyphs];
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if (glyph[row] & (0x10 >> col))
                            Fill({x + col, y + row, x + col + 1, y + row + 1}, clip, c);
            }
            x += 6;
        }
    }

    bool Save(const std::string &file) const
    {
        size_t stride = (static_cast<size_t>(width_) * 3 + 3) & ~static_cast<size_t>(3);
        uint32_t imageSize = static_cast<uint32_t>(stride * height_);
        uint8_t header[54] = {'B', 'M'};
        auto put32 = [&header](int at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = static_cast<uint8_t>(v >> (8 * i));
        };
        put32(2, 54 + imageSize);
        put32(10, 54);
        put32(14, 40);
        put32(18, static_cast<uint32_t>(width_));
        put32(22, static_cast<uint32_t>(height_));
        header[26] = 1;
        header[28] = 24;
        put32(34, imageSize);
        std::ofstream out(file, std::ios::binary);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char *>(header), sizeof header);
        std::vector<char> row(stride, 0);
        for (int y = height_ - 1; y >= 0; --y) {
            std::memcpy(row.data(), &pixels_[static_cast<size_t>(y) * width_ * 3],
                        static_cast<size_t>(width_) * 3);
            out.write(row.data(), static_cast<std::streamsize>(stride));
        }
        return static_cast<bool>(out);
    }

private:
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
};

Color Brush(HBRUSH brush)
{
    switch (reinterpret_cast<INT_PTR>(brush)) {
        case COLOR_DESKTOP + 1:
            return kDesktop;
        case COLOR_APPWORKSPACE + 1:
            return {128, 128, 128};
        case COLOR_BTNFACE + 1:
            return kFrame;
        default:
            return kWhite;
    }
}

RECT Intersect(const RECT &a, const RECT &b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

void Paint(Canvas &canvas, const Window *w, const RECT &clip)
{
    RECT rect = ScreenRect(w);
    RECT client = ScreenClient(w);
    RECT inner = Intersect(rect, clip);
    if (inner.left >= inner.right || inner.top >= inner.bottom)
        return;
    canvas.Fill(rect, clip, kFrame);
    if (client.left != rect.left || client.top != rect.top)
        canvas.Outline(rect, clip, kShadow);
    // The frame without the client edge tells where the caption and menu go.
    RECT frame = {0, 0, 0, 0};
    AdjustRect(&frame, w->style, false, w->exStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE));
    LONG side = -frame.left;
    LONG y = rect.top - frame.top;
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        LONG height = (w->exStyle & WS_EX_TOOLWINDOW) ? 15 : 18;
        RECT bar = {rect.left + side, y - height - 1, rect.right - side, y - 1};
        // The active window's caption, or among child windows the top one's
        // inside an active window.
        bool active = S().active == Root(Find(w->handle))->handle;
        if (w->parent != NULL) {
            for (HWND sibling : Siblings(w)) {
                const Window *s = Find(sibling);
                if ((s->style & WS_VISIBLE) && (s->style & WS_CAPTION) == WS_CAPTION) {
                    active = active && sibling == w->handle;
                    break;
                }
            }
        }
        canvas.Fill(bar, clip, active ? kActiveCaption : kInactiveCaption);
        canvas.Print(w->title, bar.left + 3, bar.top + (height - 7) / 2, clip, bar.right, kWhite);
    }
    if (HasMenuBar(w)) {
        RECT bar = {rect.left + side, y, rect.right - side, y + 18};
        canvas.Fill(bar, clip, kMenuBar);
        LONG x = bar.left + 6;
        auto found = S().menus.find(w->menuOrId);
        if (found != S().menus.end()) {
            for (const MenuItem &item : found->second) {
                std::string text;
                for (char c : item.text)
                    if (c != '&')
                        text += c;
                canvas.Print(text, x, bar.top + 6, clip, bar.right, kBlack);
                x += 6 * static_cast<LONG>(text.size()) + 12;
            }
        }
    }
    if (w->exStyle & WS_EX_CLIENTEDGE)
        canvas.Outline({client.left - 1, client.top - 1, client.right + 1, client.bottom + 1}, clip,
                       kShadow);
    RECT area = Intersect(client, clip);
    canvas.Fill(client, clip, Brush(w->cls->background));
    if (w->cls->system && w->parent != NULL)  // the text of a control
        canvas.Print(w->title, client.left + 2, client.top + 3, area, client.right, kBlack);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        const Window *child = Find(*it);
        if (child->style & WS_VISIBLE)
            Paint(canvas, child, area);
    }
}

}  // namespace

namespace winsim {

bool RenderScreen(const std::string &bmpFile)
{
    State &s = S();
    if (s.screenWidth <= 0 || s.screenHeight <= 0)
        return false;
    Canvas canvas(s.screenWidth, s.screenHeight);
    RECT screen = {0, 0, s.screenWidth, s.screenHeight};
    canvas.Fill(screen, screen, kDesktop);
    for (auto it = s.topLevel.rbegin(); it != s.topLevel.rend(); ++it) {
        const Window *w = Find(*it);
        if (w->style & WS_VISIBLE)
            Paint(canvas, w, screen);
    }
    return canvas.Save(bmpFile);
}

}  // namespace winsim
