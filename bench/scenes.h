#pragma once

// The activity windows in the heaviest state a student reaches, and the same
// picture described as plain drawing primitives for the comparison drawing.

#include "activities/activity_form.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace bench {

enum class Activity { Junsen, Syoten };
enum class Conic { Hyperbola, Ellipse };

std::string Name(Activity activity, Conic conic);

// One drawing operation of a repaint, in surface pixels.
struct Primitive {
    enum class Kind { Rectangle, Line, Disc, Text };
    Kind kind = Kind::Line;
    QColor colour;
    int width = 1;       // pen width of a line, border or disc
    QPoint a, b;         // a line's ends; a disc's centre in a
    QRect rect;          // a rectangle, or a text's clip rectangle
    QString text;
    bool onWindow = false;  // written on the window above the plane
};

// An activity window shown offscreen at the widest zoom (scroll position 0,
// GridUnit 36) with its conditions confirmed, 1000 afterimages, P set by a
// click on the plane so that the readout runs, and the curve on.
class Scene {
public:
    Scene(Activity activity, Conic conic);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    activities::ActivityForm& Form() { return *form_; }
    // The window's curve drawing alone, on the plane's canvas.
    void DrawCurve();
    // Empty when the state is the intended one, else what is wrong.
    std::string Fault() const;
    // What a repaint at the window's current zoom draws, in order.
    std::vector<Primitive> Primitives() const;
    // How often the plane's and the window's widgets got a paint event.
    int PlanePaints() const;
    int WindowPaints() const;

private:
    struct PaintCounter;
    Activity activity_;
    Conic conic_;
    std::unique_ptr<activities::ActivityForm> form_;
    std::unique_ptr<PaintCounter> planePaints_;
    std::unique_ptr<PaintCounter> windowPaints_;
    std::string messages_;
};

} // namespace bench
