// The drawing side behind the main form: the cursor and readout follow the mouse over the paint
// box, the wheel zooms about the centre, a middle-button drag pans, zooms that would leave the
// limits and extents of an empty drawing are refused with their messages, and the status panel
// and stored-view buttons follow the settings.
#include <gtest/gtest.h>

#include <cmath>

#include "display/tracking_settings.h"
#include "drawing/entity_builders.h"
#include "ui/main_form_fixture.h"
#include "ui/real_time_pan.h"
#include "ui/coordinate_entry.h"
#include "ui/simple_drafting.h"
#include "ui/status_panel.h"

namespace linework {
namespace {

using test::MainFormTest;

struct ViewTrackingTest : MainFormTest {
    SystemVariableImage& Image() { return form->Engine().image; }
    ViewTransform View() { return *ReadView(Image(), kCurrentViewDouble); }
    POINT OnScreen(int x, int y) { return form->PaintBox1().ClientToScreen({x, y}); }
    void MoveTo(int x, int y) {
        const POINT at = OnScreen(x, y);
        h.mouseMove(at.x, at.y);
        h.pump();
    }
    std::string Readout() { return form->StatusBar1().Panels(2).text; }
    int Bottom() { return form->PaintBox1().Height() - 1; }
};

TEST_F(ViewTrackingTest, TheReadoutFollowsTheMouse) {
    Start();
    MoveTo(100, 50);
    EXPECT_EQ(Readout(), "G100.0," + std::to_string(Bottom() - 50) + ".0,st");
    Image().SetByte(tracking_var::kRelative, 1);
    Image().SetDouble(tracking_var::kUserOriginX, 40);
    MoveTo(101, 50);
    EXPECT_EQ(Readout(), "U61.0," + std::to_string(Bottom() - 50) + ".0,st");
}

TEST_F(ViewTrackingTest, GridSnapPullsTheCursorAndATooFineGridIsReported) {
    Start();
    Image().SetByte(tracking_var::kGridSnap, 1);
    Image().SetDouble(tracking_var::kGridSpacingX, 20);
    Image().SetDouble(tracking_var::kGridSpacingY, 20);
    MoveTo(109, Bottom() - 31);
    EXPECT_EQ(Readout(), "G100.0,40.0,st");
    Image().SetDouble(tracking_var::kGridSpacingX, 4);
    form->SpeedButton(30).SetGroupIndex(30);
    form->SpeedButton(30).SetAllowAllUp(true);
    form->SpeedButton(30).SetDown(true);
    BoxSeen seen;
    AnswerBox(1, &seen);
    MoveTo(120, 60);
    EXPECT_EQ(seen.text, form->Texts().Message(11));
    EXPECT_EQ(Image().Byte(tracking_var::kGridSnap), 0);
    EXPECT_FALSE(form->SpeedButton(30).Down());
}

TEST_F(ViewTrackingTest, TheWheelZoomsAboutTheCentre) {
    Start();
    const ViewTransform before = View();
    const double width = form->PaintBox1().Width(), height = form->PaintBox1().Height();
    form->Edit1().SetFocus();
    winplat::testing::keyDown(VK_CONTROL);
    h.wheel(120);
    winplat::testing::keyUp(VK_CONTROL);
    h.pump();
    const ViewTransform after = View();
    EXPECT_DOUBLE_EQ(after.scale, before.scale * 2);
    EXPECT_DOUBLE_EQ(after.originX + width * after.scale / 2, before.originX + width * before.scale / 2);
    EXPECT_DOUBLE_EQ(after.originY + height * after.scale / 2, before.originY + height * before.scale / 2);
}

TEST_F(ViewTrackingTest, AMiddleButtonDragPansTheView) {
    Start();
    MoveTo(200, 200);
    const ViewTransform before = View();
    winplat::testing::mouseButton(winplat::host::MouseButton::Middle, true);
    h.pump();
    MoveTo(230, 190);
    MoveTo(260, 180);
    winplat::testing::mouseButton(winplat::host::MouseButton::Middle, false);
    h.pump();
    MoveTo(300, 300);  // no longer panning
    const ViewTransform after = View();
    // The pan drags the view by the move over the pan divisor of the input options.
    const double divisor = PanDivisorsFrom(static_cast<uint32_t>(Image().Integer(365))).pan;
    EXPECT_DOUBLE_EQ(after.originX, before.originX + 60 * before.scale / divisor);
    EXPECT_DOUBLE_EQ(after.originY, before.originY + 20 * before.scale / divisor);
}

TEST_F(ViewTrackingTest, ShiftAndTheRightButtonCentreTheViewOnTheCursorAndTheMouseFollows) {
    Start();
    MoveTo(100, 50);
    const ViewTransform before = View();
    const double x = before.originX + 100 * before.scale, y = before.originY + (Bottom() - 50) * before.scale;
    winplat::testing::keyDown(VK_SHIFT);
    winplat::testing::mouseButton(winplat::host::MouseButton::Right, true);
    h.pump();
    const ViewTransform after = View();
    const double width = form->PaintBox1().Width(), height = form->PaintBox1().Height();
    EXPECT_DOUBLE_EQ(after.originX + width * after.scale / 2, x);
    EXPECT_DOUBLE_EQ(after.originY + height * after.scale / 2, y);
    EXPECT_EQ(after.scale, before.scale);
    POINT pointer{};
    GetCursorPos(&pointer);
    const POINT centre = form->PaintBox1().ClientToScreen(
        {static_cast<int>(std::lround(width / 2)), static_cast<int>(std::lround(Bottom() - height / 2))});
    EXPECT_NEAR(pointer.x, centre.x, 1);
    EXPECT_NEAR(pointer.y, centre.y, 1);
    winplat::testing::mouseButton(winplat::host::MouseButton::Right, false);
    winplat::testing::keyUp(VK_SHIFT);
    h.pump();
}

TEST_F(ViewTrackingTest, RefusedZoomsAndAnEmptyDrawingSayWhy) {
    CopyKit();
    Start();
    BoxSeen empty;
    AnswerBox(1, &empty);
    form->Drafting().ZoomExtents();
    EXPECT_EQ(empty.text, form->Texts().Message(20));
    ViewTransform huge = View();
    huge.scale = 1e17;
    WriteView(Image(), kCurrentViewDouble, huge);
    form->Drafting().UpdateViewTransform();
    BoxSeen tooLarge;
    AnswerBox(1, &tooLarge);
    form->Drafting().ZoomByFactor(2);
    EXPECT_EQ(tooLarge.text, form->Texts().Message(17));
    EXPECT_EQ(View().scale, 1e17);
}

TEST_F(ViewTrackingTest, ZoomExtentsShowsTheDrawingAndAsksAboutHiddenLayers) {
    CopyKit();
    Start();
    const Point line[] = {{0, 0}, {100, 10}};
    PushEntity(form->Engine().drawing, MakePolyline(line, {.layer = 2}));
    LayerTable layers(Image());
    layers.SetWord(2, layers.Word(2) | layer_flag::kHidden);
    const Point shown[] = {{-50, -5}, {50, 5}};
    PushEntity(form->Engine().drawing, MakePolyline(shown));
    BoxSeen question;
    AnswerBox(2, &question);
    form->Drafting().ZoomExtents();
    EXPECT_EQ(question.text, form->Texts().Message(30));
    const double width = form->PaintBox1().Width();
    EXPECT_DOUBLE_EQ(View().scale, 1.05 * 100 / width);
}

TEST_F(ViewTrackingTest, TheStatusPanelAndViewButtonsFollowTheSettings) {
    CopyKit();
    Start();
    Image().SetDouble(tracking_var::kDrawingScale, 0.01);
    WriteView(Image(), kCurrentViewDouble + 30, View());
    ViewTransform other = View();
    other.scale = 3;
    WriteView(Image(), kCurrentViewDouble + 50, other);
    form->Drafting().RegenerateDrawing();
    auto label = [&](const char* name) { return dynamic_cast<winforms::Label*>(form->FindComponent(name)); };
    EXPECT_EQ(label("Label2")->Caption(), "1:100");
    EXPECT_EQ(label("Label7")->Caption().rfind(form->Texts().Message(39) + std::string("0\n"), 0), 0u);
    EXPECT_TRUE(form->SpeedButton(3).Down());
    EXPECT_EQ(form->SpeedButton(3).GetFont().Style(), winforms::FontBold);
    EXPECT_FALSE(form->SpeedButton(5).Down());
    EXPECT_EQ(form->SpeedButton(5).GetFont().Style(), winforms::FontBold);
    EXPECT_FALSE(form->SpeedButton(4).Down());
    EXPECT_EQ(form->SpeedButton(4).GetFont().Color(), 0x808080u);
}

TEST_F(ViewTrackingTest, StatusPicturesFollowTheCurrentWidthAndAMissingOneLeavesTheOld) {
    Start();
    std::filesystem::create_directories(folder.path() + "/BMP");
    winforms::Bitmap picture(6, 5);
    ASSERT_TRUE(picture.SaveToFile(WindowsFolder(folder.path()) + "BMP\\WIDTH3.BMP"));
    ASSERT_TRUE(winforms::Bitmap(7, 7).SaveToFile(WindowsFolder(folder.path()) + "BMP\\WIDTH10.BMP"));
    auto* width = dynamic_cast<winforms::Image*>(form->FindComponent("Image1"));
    ASSERT_NE(width, nullptr);
    CurrentProperties current(Image());
    auto shownWidth = [&](int value) {
        current.Set(CurrentProperties::Width, value);
        form->Drafting().RegenerateDrawing();
        return width->Picture().Width();
    };
    EXPECT_EQ(shownWidth(3), 6);
    EXPECT_EQ(shownWidth(4), 6);   // no WIDTH4.BMP: the old picture stays
    EXPECT_EQ(shownWidth(12), 7);  // wider than the largest picture: WIDTH10.BMP
    EXPECT_EQ(shownWidth(3), 6);
}

// --- the command steps under the cursor

struct TrackedStepsTest : ViewTrackingTest {
    SimpleDrafting& Drafting() { return dynamic_cast<SimpleDrafting&>(form->Drafting()); }
    void Click(int x, int y) {
        MoveTo(x, y);
        winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
        h.pump();
        winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
        h.pump();
    }
    void PushStep(uint8_t kind, uint8_t points, uint8_t option5 = 0) {
        PushRequest request;
        request.kind = kind;
        request.pointsNeeded = points;
        request.option5 = option5;
        ASSERT_EQ(Drafting().Commands().PushCommandState(request), PushResult::Pushed);
    }
    // Removes the overlay from the screen, through the paint box's canvas as it is now.
    void HideOverlay() {
        winforms::PaintBox& box = form->PaintBox1();
        Drafting().Tracker().SetCanvas(&box.GetCanvas(), {box.Width(), box.Height()});
        Drafting().Tracker().HideAll();
    }
    // Whether the paint box, the overlay hidden, shows what a fresh regeneration of the drawing
    // shows: a move or click that left a trace on the screen makes the two differ.
    bool PaintBoxShowsAsRedrawn() {
        HideOverlay();
        const winplat::test::Image traced = h.screenshot();
        form->Drafting().RegenerateDrawing();
        HideOverlay();
        const winplat::test::Image fresh = h.screenshot();
        const RECT paintBox = ScreenRect(form->PaintBox1());
        return winplat::test::crop(traced, paintBox) == winplat::test::crop(fresh, paintBox);
    }
    void GridSnap(double spacing) {
        Image().SetByte(tracking_var::kGridSnap, 1);
        Image().SetDouble(tracking_var::kGridSpacingX, spacing);
        Image().SetDouble(tracking_var::kGridSpacingY, spacing);
    }
};

TEST_F(TrackedStepsTest, AClickTakesTheSnappedPointThroughThePointEntryAndTheBandFollowsTheCursor) {
    Start();
    GridSnap(20);
    PushStep(command_kind::kPolyline, 1);
    Image().SetByte(entry_variable::kBeepOnPoint, 0);
    Click(109, Bottom() - 31);  // snaps to (100, 40)
    EXPECT_EQ(Image().Double(entry_variable::kInputPointX), 100);
    EXPECT_EQ(Image().Double(entry_variable::kInputPointX + 1), 40);
    EXPECT_EQ(Image().Double(entry_variable::kLastPointX), 100);
    EXPECT_EQ(Image().Integer(entry_variable::kPointStatus), 1);
    CursorTracker& tracker = Drafting().Tracker();
    MoveTo(149, Bottom() - 72);  // snaps to (140, 80)
    EXPECT_TRUE(tracker.Shown().rubberBand) << "the polyline waits for its next point";
    EXPECT_EQ(tracker.step.reference, (Point{100, 40}));
    EXPECT_EQ(Drafting().Commands().Stack().Top().bandEnd, (Point{140, 80}));
    Click(149, Bottom() - 79);
    const Drawing& drawing = form->Engine().drawing;
    ASSERT_NE(drawing.head, 0u);
    const PolylineView drawn(drawing[drawing.head]);
    ASSERT_EQ(drawn.VertexCount(), 2);
    EXPECT_EQ(drawn.Vertex(0), (Point{100, 40}));
    EXPECT_EQ(drawn.Vertex(1), (Point{140, 80}));
}

TEST_F(TrackedStepsTest, AnObjectSnapModeOfTheStepsMovesTheClickOntoTheEntity) {
    Start();
    const Point line[] = {{100, 100}, {200, 100}};
    PushEntity(form->Engine().drawing, MakePolyline(line));
    PushStep(command_kind::kPolyline, 1);
    Drafting().Tracker().SetObjectSnapMode(3);
    Click(197, Bottom() - 101);
    EXPECT_EQ(Image().Double(entry_variable::kInputPointX), 200);
    EXPECT_EQ(Image().Double(entry_variable::kInputPointX + 1), 100);
    EXPECT_TRUE(Drafting().Tracker().Shown().aperture);
}

TEST_F(TrackedStepsTest, TheWindowOfAnEmptyPickFollowsTheDragAndItsBandShowsTheMethod) {
    Start();
    PushStep(command_kind::kObjectSelection, 1);
    DrawingSelection& selection = Drafting().Selection();
    CursorTracker& tracker = Drafting().Tracker();
    MoveTo(100, Bottom() - 100);
    EXPECT_TRUE(tracker.Shown().pickBox);
    Click(100, Bottom() - 100);  // nothing there: the first corner of a window
    // The cursor rests on the corner: at it counts as below it, a fence.
    ASSERT_EQ(selection.Method(), selection_method::kFence);
    MoveTo(150, Bottom() - 150);
    EXPECT_EQ(selection.Method(), selection_method::kCrossing);
    MoveTo(150, Bottom() - 60);  // below: a fence, drawn as a dotted line
    EXPECT_EQ(selection.Method(), selection_method::kFence);
    EXPECT_TRUE(tracker.step.dotted);
    EXPECT_FALSE(tracker.step.rectangle);
    EXPECT_TRUE(tracker.Shown().rubberBand);
    EXPECT_TRUE(form->SpeedButton(step_button::kFenceMethod).Down());
    Drafting().Commands().settings.crossingByDefault = false;
    MoveTo(60, Bottom() - 150);  // above and left: a window, a solid rectangle
    EXPECT_EQ(selection.Method(), selection_method::kWindow);
    EXPECT_FALSE(tracker.step.dotted);
    EXPECT_TRUE(tracker.step.rectangle);
    MoveTo(160, Bottom() - 150);  // above and right: crossing, dotted
    EXPECT_EQ(selection.Method(), selection_method::kCrossing);
    EXPECT_TRUE(tracker.step.dotted);
    EXPECT_FALSE(form->SpeedButton(step_button::kFenceMethod).Down());
}

TEST_F(TrackedStepsTest, ClicksAndMovesOfALineLeaveNoTraceOnceTheOverlayIsHidden) {
    Start();
    form->SpeedButton(step_button::kPolyline).Click();
    h.pump();
    MoveTo(120, 90);
    Click(120, 90);
    MoveTo(200, 150);
    MoveTo(360, 270);
    Click(360, 270);
    MoveTo(300, 100);
    EXPECT_TRUE(PaintBoxShowsAsRedrawn());
    const PolylineView drawn(form->Engine().drawing[form->Engine().drawing.head]);
    EXPECT_EQ(drawn.VertexCount(), 2);
}

TEST_F(TrackedStepsTest, ALineDraggedAndClickedLeavesNoTraceOnceTheOverlayIsHidden) {
    Start();
    form->SpeedButton(step_button::kPolyline).Click();
    h.pump();
    const POINT a = OnScreen(120, 90), b = OnScreen(360, 270);
    h.drag(a.x, a.y, b.x, b.y);
    h.advance(800);
    h.click(b.x, b.y);
    h.advance(600);
    CursorTracker& tracker = Drafting().Tracker();
    EXPECT_EQ(tracker.step.reference, (Point{form->Engine().image.Double(2), form->Engine().image.Double(3)}));
    EXPECT_TRUE(PaintBoxShowsAsRedrawn());
    const PolylineView drawn(form->Engine().drawing[form->Engine().drawing.head]);
    EXPECT_EQ(drawn.VertexCount(), 2);
}

TEST_F(TrackedStepsTest, APreviewCutShortByTheNextMoveStartsAgainFromItBeforeTheMoveEnds) {
    Start();
    Drawing& drawing = form->Engine().drawing;
    constexpr int kSelected = 40;  // more than one stride of the preview's look at the queue
    for (int k = 0; k < kSelected; ++k) {
        const Point line[] = {{10.0 + k, 10}, {10.0 + k, 50}};
        EntityRecord record = MakePolyline(line);
        record.SetByte(entity_field::kKindAndFlags, static_cast<uint8_t>(record.KindAndFlags() | entity_flag::kSelected));
        PushEntity(drawing, std::move(record));
    }
    PushStep(command_kind::kMove, 2);
    Drafting().Commands().AcceptPoint({10, 10});  // the base point: the preview starts
    CursorTracker& tracker = Drafting().Tracker();
    ASSERT_NE(tracker.preview, nullptr);
    MoveTo(15, 100);
    std::vector<std::string> readouts;
    Drafting().hooks.setReadout = [&](std::string_view text) { readouts.emplace_back(text); };
    const POINT next = OnScreen(40, 100);
    winplat::testing::mouseMove(next.x, next.y);  // the mouse goes on while the move to (20, 100) is tracked
    form->Drafting().TrackMouse(20, 100);
    // The preview at (20, 100) gave up; before the move returned, the waiting one was tracked and
    // its preview drawn whole.
    ASSERT_EQ(readouts.size(), 2u);
    EXPECT_EQ(readouts[1].rfind("R", 0), 0u);
    EXPECT_EQ(tracker.Pixel().x, 40);
    EXPECT_EQ(tracker.preview->Drawn(), static_cast<size_t>(kSelected));
    h.pump();
    EXPECT_EQ(readouts.size(), 2u) << "nothing was left for the loop";
    // A pass a click asks for lets nothing through: the click lands where it was given.
    Drafting().hooks.setReadout = nullptr;
    const POINT later = OnScreen(70, 10);
    winplat::testing::mouseMove(later.x, later.y);
    EXPECT_EQ(Drafting().TrackedPointAt(55, 10), (Point{55, static_cast<double>(Bottom() - 10)}));
    h.pump();
}

TEST_F(TrackedStepsTest, APointMarkerIsLeftWhereAPointWasTaken) {
    Start();
    Image().SetByte(entry_variable::kPointMarkers, 1);
    Image().SetInteger(entry_variable::kPointMarkerColour, static_cast<int32_t>(RGB(0, 255, 0)));
    PushStep(30, 2);  // a caller's step: it keeps its points
    Click(120, 80);
    MoveTo(300, 200);  // the cross-hair away from the marker; the band starts at its centre
    const POINT at = form->PaintBox1().ClientToScreen({120, 80});
    const winplat::test::Image shot = h.screenshot();
    for (POINT arm : {POINT{0, -3}, POINT{0, 3}, POINT{-3, 0}, POINT{3, 0}, POINT{0, -1}, POINT{-1, 0}}) {
        EXPECT_EQ(shot.at(at.x + arm.x, at.y + arm.y) & 0xFFFFFF, 0x00FF00u) << arm.x << "," << arm.y;
    }
    EXPECT_NE(shot.at(at.x + 4, at.y) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(shot.at(at.x + 2, at.y + 2) & 0xFFFFFF, 0x00FF00u);
}

TEST(StatusPanelTextTest, ScaleCaptions) {
    EXPECT_EQ(ScaleCaption(0.01), "1:100");
    EXPECT_EQ(ScaleCaption(0.4), "1:2.5");
    EXPECT_EQ(ScaleCaption(1), "1:1");
    EXPECT_EQ(ScaleCaption(2.5), "2.5:1");
    EXPECT_EQ(StatusPictureName("WIDTH", 3), "BMP\\WIDTH3.BMP");
}

TEST(StatusPanelTextTest, TheLayerNameIsShortenedToFit) {
    // Every character 5 pixels wide; the widest line counts.
    const auto width = [](std::string_view text) {
        const size_t line = text.find('\n');
        return static_cast<int>(5 * std::max(line, text.size() - line - 1));
    };
    // Room 44: 40 pixels of text at most, 8 characters.
    EXPECT_EQ(FitLayerText("V", 12, "ABCDEFGH", width, 44), "V12\nABCDEFGH");
    EXPECT_EQ(FitLayerText("V", 12, "ABCDEFGHI", width, 44), "V12\nABCDEFGH");
    EXPECT_EQ(FitLayerText("V", 12, "ABCDEFGHI", width, 43), "V12\nABCDEFG");
    EXPECT_EQ(FitLayerText("V", 1, "", width, 0), "V1\n");
}

}  // namespace
}  // namespace linework
