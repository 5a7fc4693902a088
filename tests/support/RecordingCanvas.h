#pragma once
#include <string>
#include <vector>

#include "PageCanvas.h"

// Keeps every drawing call in order so two drawings can be compared.
class RecordingCanvas : public PageCanvas {
public:
    enum class Kind { Rectangle, Ellipse, Polyline, Polygon, Text };
    struct Call {
        Kind kind = Kind::Rectangle;
        PageRect rect;
        std::vector<PagePoint> points;
        PagePen pen;
        PageBrush brush;
        PageText text;
        PageFont font;
        bool operator==(const Call&) const = default;
    };

    void rectangle(const PageRect& r, const PagePen& p, const PageBrush& b) override
    {
        add(Kind::Rectangle).rect = r;
        calls.back().pen = p;
        calls.back().brush = b;
    }
    void ellipse(const PageRect& r, const PagePen& p, const PageBrush& b) override
    {
        add(Kind::Ellipse).rect = r;
        calls.back().pen = p;
        calls.back().brush = b;
    }
    void polyline(const std::vector<PagePoint>& pts, const PagePen& p) override
    {
        add(Kind::Polyline).points = pts;
        calls.back().pen = p;
    }
    void polygon(const std::vector<PagePoint>& pts, const PagePen& p, const PageBrush& b) override
    {
        add(Kind::Polygon).points = pts;
        calls.back().pen = p;
        calls.back().brush = b;
    }
    void text(const PageText& t, const PageFont& f) override
    {
        add(Kind::Text).text = t;
        calls.back().font = f;
    }

    // The texts drawn, in order, as UTF-8.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const Call& c : calls)
            if (c.kind == Kind::Text)
                out.emplace_back(c.text.chars.begin(), c.text.chars.end());
        return out;
    }

    std::vector<Call> calls;

private:
    Call& add(Kind kind)
    {
        calls.emplace_back();
        calls.back().kind = kind;
        return calls.back();
    }
};
