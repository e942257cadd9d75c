// Start-up and the menu: the three windows, opening and hiding activities,
// and the end of the run.

#include "activities/junsen_form.h"
#include "activities/syoten_form.h"
#include "app/forms.h"
#include "app/menu2.h"
#include "toolkit/application.h"
#include "toolkit/driver.h"

#include <gtest/gtest.h>

using namespace app;

namespace {

void Click(const tk::Control& c) { EXPECT_TRUE(tk::drive::Press(c)) << "a hidden control"; }

// The windows as start-up makes them, once for all tests of this file.
class Program : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Menu2)
            CreateForms();
    }
    void SetUp() override
    {
        Menu2->Show();
        tk::drive::ProcessEvents();
        ASSERT_EQ(tk::Application::Instance().ActiveForm(), Menu2);
    }
};

} // namespace

TEST_F(Program, TheMenuIsTheMainWindowAtTheTopLeftCorner)
{
    EXPECT_EQ(tk::Application::Instance().MainForm(), Menu2);
    EXPECT_EQ(Menu2->Caption(), "Orvalis");
    EXPECT_EQ(Menu2->Left(), 0);
    EXPECT_EQ(Menu2->Top(), 0);
    EXPECT_EQ(Menu2->Width(), 250);
    EXPECT_EQ(Menu2->Height(), 250);
    EXPECT_EQ(Menu2->Color(), 0xD2D2FFu);
    EXPECT_EQ(Menu2->syuryo->Caption(), "終　　了");
    EXPECT_FALSE(Junsen_Form->Visible());
    EXPECT_FALSE(Syoten_Form->Visible());
}

TEST_F(Program, OpeningAnActivityResetsItTwiceAndTheMenuHidesItAgain)
{
    for (activities::ActivityForm* form : {static_cast<activities::ActivityForm*>(Junsen_Form),
                                           static_cast<activities::ActivityForm*>(Syoten_Form)}) {
        tk::Button& opener = form == Junsen_Form ? *Menu2->junsen : *Menu2->syoten;
        const int before = form->ResetCount;
        Click(opener);
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->ResetCount, before + 2) << "on activation, then by the clear";
        EXPECT_EQ(form->Plane.GridUnit, 20);
        if (form == Syoten_Form) {
            EXPECT_EQ(form->GetWindowState(), tk::WindowState::Maximized);
        } else {
            EXPECT_EQ(form->Width(), 1024);
            EXPECT_EQ(form->Height(), 768);
        }
        tk::drive::ProcessEvents();

        // Pressing the same menu button while the activity is open shows and
        // resets it again.
        Click(opener);
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->ResetCount, before + 4);

        // A click on the menu activates it, which hides both activities.
        EXPECT_TRUE(tk::drive::Click(*Menu2, {240, 240}));
        EXPECT_FALSE(Junsen_Form->Visible());
        EXPECT_FALSE(Syoten_Form->Visible());
    }
}

TEST_F(Program, TheEndButtonHidesAndTheZoomSurvivesReopening)
{
    Click(*Menu2->junsen);
    Junsen_Form->ScrollBar1->SetPosition(0);
    Click(*Junsen_Form->BtnSyuryo);
    EXPECT_FALSE(Junsen_Form->Visible());
    Click(*Menu2->junsen);
    EXPECT_EQ(Junsen_Form->Plane.GridUnit, 36);
    Junsen_Form->ScrollBar1->SetPosition(51);
    Click(*Junsen_Form->BtnSyuryo);
}

TEST_F(Program, TheQuitButtonEndsTheRunWhileAnActivityIsOpen)
{
    Click(*Menu2->syoten);
    tk::drive::Later([] { Click(*Menu2->syuryo); });
    bool timedOut = false;
    const tk::drive::Ticker watchdog(5000, [&] {
        if (!timedOut) {
            timedOut = true;
            tk::drive::EndRun(1);
        }
    });
    EXPECT_EQ(tk::drive::RunEventLoop(), 0);
    EXPECT_FALSE(timedOut);
}
