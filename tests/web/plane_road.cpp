// Plays a road of presses, plane clicks and zoom steps (tests/web/road.txt)
// on the desktop program, on the offscreen platform at one device pixel per
// design pixel, and writes the plane's pixels at each "dump" step to
// OUTDIR/NAME.rgba: 660 x 660 pixels, row by row, four bytes each (red,
// green, blue, 255), as a browser's canvas hands them out. The browser test
// plays the same road and compares.
//
//   plane_road ROAD OUTDIR

#include "activities/activity_form.h"
#include "app/forms.h"
#include "app/menu2.h"
#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/driver.h"
#include "toolkit/form.h"
#include "toolkit/speedbutton.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kPlaneSize = 660;

// The window the user works in now; the menu when an activity closed and
// the platform activated nothing (the offscreen platform has no window
// manager to hand the activation back).
tk::Form& ActiveForm()
{
    tk::Form* form = tk::drive::ActiveWindow();
    return form ? *form : *app::Menu2;
}

activities::ActivityForm& ActiveActivity()
{
    auto* activity = dynamic_cast<activities::ActivityForm*>(&ActiveForm());
    if (!activity)
        throw std::runtime_error("the active window is not an activity");
    return *activity;
}

// The nth shown button or toggle of the active window with the caption.
void PressCaption(const std::string& caption, int nth)
{
    int seen = 0;
    for (tk::Control* control : tk::drive::Controls(ActiveForm())) {
        std::string text;
        if (const auto* button = dynamic_cast<tk::Button*>(control))
            text = button->Caption();
        else if (const auto* toggle = dynamic_cast<tk::SpeedButton*>(control))
            text = toggle->Caption();
        else
            continue;
        if (text == caption && ++seen == nth) {
            if (!tk::drive::Press(*control))
                throw std::runtime_error("cannot press " + caption);
            tk::drive::ProcessEvents();
            return;
        }
    }
    throw std::runtime_error("no button " + caption + " #" + std::to_string(nth));
}

void Dump(const std::string& path)
{
    const tk::Canvas& plane = ActiveActivity().PaintBox1->GetCanvas();
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<std::size_t>(kPlaneSize) * kPlaneSize * 4);
    for (int y = 0; y < kPlaneSize; ++y)
        for (int x = 0; x < kPlaneSize; ++x) {
            const tk::TColor c = plane.Pixel(x, y);  // 0x00BBGGRR
            bytes.push_back(static_cast<unsigned char>(c & 0xFF));
            bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
            bytes.push_back(static_cast<unsigned char>((c >> 16) & 0xFF));
            bytes.push_back(255);
        }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void Play(std::istream& road, const std::string& outDir)
{
    std::string line;
    int number = 0;
    while (std::getline(road, line)) {
        ++number;
        std::istringstream words(line);
        std::string verb;
        if (!(words >> verb) || verb[0] == '#')
            continue;
        try {
            if (verb == "press") {
                std::string caption;
                int nth = 1;
                words >> caption;
                words >> nth;
                PressCaption(caption, nth);
            } else if (verb == "click") {
                int x = -1, y = -1;
                if (!(words >> x >> y))
                    throw std::runtime_error("click needs X Y");
                if (!tk::drive::Click(*ActiveActivity().PaintBox1, {x, y}))
                    throw std::runtime_error("the plane is not shown");
                tk::drive::ProcessEvents();
            } else if (verb == "zoom") {
                std::string side;
                words >> side;
                if (side != "left" && side != "right")
                    throw std::runtime_error("zoom left or right");
                const auto part = side == "left" ? tk::drive::BarPart::LeftArrow : tk::drive::BarPart::RightArrow;
                if (!tk::drive::Press(*ActiveActivity().ScrollBar1, part))
                    throw std::runtime_error("the zoom bar is not shown");
                tk::drive::ProcessEvents();
            } else if (verb == "dump") {
                std::string name;
                words >> name;
                Dump(outDir + "/" + name + ".rgba");
            } else {
                throw std::runtime_error("unknown step " + verb);
            }
            if (tk::drive::ModalBox())
                throw std::runtime_error("a message box opened");
        } catch (const std::exception& e) {
            throw std::runtime_error("road line " + std::to_string(number) + ": " + e.what());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: plane_road ROAD OUTDIR\n";
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string roadPath = argv[1], outDir = argv[2];
    tk::Application application(argc, argv, 1.0);
    std::ifstream road(roadPath);
    if (!road) {
        std::cerr << "plane_road: cannot read " << roadPath << "\n";
        return 1;
    }
    try {
        app::CreateForms();
        app::Menu2->Show();
        tk::drive::ProcessEvents();
        Play(road, outDir);
    } catch (const std::exception& e) {
        std::cerr << "plane_road: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
