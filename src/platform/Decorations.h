// Controls that show and hold rather than act: group box, placard, rectangle, rounded rectangle,
// line, separator and image well.
#pragma once

#include "platform/Control.h"
#include "platform/Picture.h"

class QLabel;

namespace platform {

class GroupBox : public Control {
public:
    GroupBox(platform::Window& window, const ControlDesc& desc);
};

// A raised, framed panel.
class Placard : public Control {
public:
    Placard(platform::Window& window, const ControlDesc& desc);
};

class Rectangle : public Control {
public:
    Rectangle(platform::Window& window, const ControlDesc& desc);

    Color FillColor() const { return fill_; }
    void SetFillColor(Color c);

protected:
    friend class ShapeWidget;
    virtual void Draw(QPainter& p) const;

    Color fill_;
    Color border_;
    int borderWidth_;
};

class RoundRectangle : public Rectangle {
public:
    RoundRectangle(platform::Window& window, const ControlDesc& desc);

    int OvalWidth() const { return ovalWidth_; }
    int OvalHeight() const { return ovalHeight_; }

protected:
    void Draw(QPainter& p) const override;

private:
    int ovalWidth_, ovalHeight_;
};

// A line between two points in window pixels; it lets the mouse through to what lies below.
class Line : public Control {
public:
    Line(platform::Window& window, const ControlDesc& desc);

    int X1() const { return x1_; }
    int Y1() const { return y1_; }
    int X2() const { return x2_; }
    int Y2() const { return y2_; }
    void SetPoints(int x1, int y1, int x2, int y2);

private:
    friend class ShapeWidget;
    void Draw(QPainter& p) const;

    int x1_, y1_, x2_, y2_;
    Color color_;
    int width_;
};

// An etched line, across when wider than high.
class Separator : public Control {
public:
    Separator(platform::Window& window, const ControlDesc& desc);
};

class ImageWell : public Control {
public:
    ImageWell(platform::Window& window, const ControlDesc& desc);
    std::shared_ptr<Picture> Image() const { return image_; }
    // Shown centred; nullptr shows nothing.
    void SetImage(std::shared_ptr<Picture> picture);

private:
    QLabel* label_;
    std::shared_ptr<Picture> image_;
};

} // namespace platform
