// Start-up and the menu: the three windows, opening and hiding activities,
// and the end of the run.

#include "activities/junsen_form.h"
#include "toolkit/qt/native.h"
#include "activities/syoten_form.h"
#include "app/forms.h"
#include "app/menu2.h"
#include "toolkit/application.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace app;

namespace {

void Click(const tk::Control& c) { QTest::mouseClick(tk::AsWidget(c.NativeWidget()), Qt::LeftButton); }

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
        QApplication::processEvents();
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
        QApplication::processEvents();

        // Pressing the same menu button while the activity is open shows and
        // resets it again.
        Click(opener);
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->ResetCount, before + 4);

        // A click on the menu activates it, which hides both activities.
        QTest::mouseClick(tk::AsWidget(Menu2->NativeWidget()), Qt::LeftButton, Qt::NoModifier, {240, 240});
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
    QTimer::singleShot(0, [] { Click(*Menu2->syuryo); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
}
