#include "Ctesk001Doc.h"

#include "EffectRecord.h"
#include "MapSide.h"
#include "Messages.h"
#include "ScratchDir.h"
#include "SurfaceBuilder.h"

#include <gtest/gtest.h>

using namespace tesk;

namespace {

/// Writes every event it hears into a shared log, tagged with its own name.
struct Watcher : DocumentListener {
    Watcher(std::vector<std::string>& events, std::string name)
        : log(events), tag(std::move(name)) {}
    void fileNameChanged(const std::string& name) override {
        names.push_back(name);
        log.push_back(tag + " name");
    }
    void projectStored(const std::string&, bool onDisk) override {
        ++stored;
        log.push_back(tag + (onDisk ? " stored" : " restored"));
    }
    void shapeRebuilt() override {
        ++rebuilt;
        log.push_back(tag + " rebuilt");
    }
    void selectionChanged() override { log.push_back(tag + " selection"); }
    void markersChanged() override { log.push_back(tag + " markers"); }
    std::vector<std::string>& log;
    std::string tag;
    std::vector<std::string> names;
    int stored = 0;
    int rebuilt = 0;
};

class DocTest : public ::testing::Test {
protected:
    DocTest() : doc(messages, "/opt/tesk/") { doc.addListener(&watcher); }

    Point3 committed(int point, int line) const {
        Point3 p;
        EXPECT_TRUE(doc.mesh().getPoint(point, line, p));
        return p;
    }

    RecordingMessages messages;
    Ctesk001Doc doc;
    std::vector<std::string> log;
    Watcher watcher{log, "w"};
    tesk::testing::ScratchDir scratch{"tesk_doc"};
};

std::unique_ptr<EffectRecord> stripedNormalEffect() {
    auto effect = std::make_unique<EffectRecord>();
    effect->allocate(kMapSide, kMapSide);
    for (size_t i = 0; i < effect->pixels.size(); ++i) {
        effect->pixels[i] = (i % 7 == 0) ? 0xFFFFFFu : 0x000000u;
    }
    effect->setTypeCode(EFFECT_NORMAL);
    effect->strength = 50.0f;
    return effect;
}

} // namespace

TEST_F(DocTest, StartsEmptyWithTheDefaultNamesAndRefusesToRebuild) {
    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_EQ(doc.getBitmapFileName(), "tesk.bmp");
    EXPECT_EQ(doc.getProgramDir(), "/opt/tesk/");
    EXPECT_EQ(captionFor(doc.getFileName()), "TESK ( Brenmold ) version 0.0.5.1 << tesk.tsk >>");
    EXPECT_TRUE(doc.isNewShape());
    EXPECT_FALSE(doc.rebuild());
    EXPECT_FALSE(doc.hasSculptMap());
    EXPECT_EQ(watcher.rebuilt, 0);
    EXPECT_EQ(doc.handleCount(), 0u);

    // Export without a map says so and writes nothing.
    EXPECT_FALSE(doc.exportSculptMap(scratch.file("none.bmp"), {}));
    EXPECT_EQ(messages.texts, std::vector<std::string>{kNoSculptMapMessage});
    EXPECT_FALSE(std::filesystem::exists(scratch.file("none.bmp")));
}

TEST_F(DocTest, WithoutEffectsTheMapIsTheEncodersMap) {
    doc.newShape();
    SPMesh reference;
    reference.makeDefault();
    ASSERT_TRUE(BuildSurface(reference, doc.selectedType(), messages));
    EXPECT_EQ(doc.mesh().map, reference.map);
    EXPECT_EQ(watcher.rebuilt, 1);
}

TEST_F(DocTest, EnabledEffectsChangeTheMapAndDisabledOnesDoNot) {
    doc.newShape();
    const std::vector<uint32_t> plain = doc.mesh().map;

    auto effect = stripedNormalEffect();
    effect->enabled = 0;
    doc.addEffect(std::move(effect));
    EXPECT_EQ(doc.mesh().map, plain);

    doc.effect(0)->enabled = 1;
    doc.effectsChanged();
    const std::vector<uint32_t> once = doc.mesh().map;
    EXPECT_NE(once, plain);

    // A second record of the same kind works on the first one's result.
    doc.addEffect(stripedNormalEffect());
    EXPECT_NE(doc.mesh().map, once);
    EXPECT_TRUE(doc.moveEffectUp(1));
    EXPECT_FALSE(doc.moveEffectUp(0));
    EXPECT_TRUE(doc.removeEffect(1));
    EXPECT_FALSE(doc.removeEffect(5));
    EXPECT_EQ(doc.mesh().map, once);
}

TEST_F(DocTest, MarkersSpanHalfTheExtentAndPivotIsTheSelectedMean) {
    doc.newShape();
    ASSERT_EQ(doc.handleCount(), 8u);
    // Flags that do not match the cells are ignored, and markers wait for a matching table.
    doc.setHandles(std::vector<uint32_t>(7, CELL_SELECTED));
    EXPECT_EQ(doc.pivot(), Point3{});

    std::vector<uint32_t> flags(8, 0);
    flags[0] = flags[1] = flags[6] = CELL_SELECTED;
    doc.setHandles(flags);
    doc.updateMarkers();
    ASSERT_EQ(doc.markerPoints().size(), 8u);
    EXPECT_EQ(doc.markerFlags()[6], CELL_SELECTED);

    // Each axis runs from -half to +half of the extent; line 1 is the top (z = 1) of the cube.
    const Point3 h = doc.mesh().halfExtent;
    float minX = 1e9f, maxX = -1e9f, maxZ = -1e9f;
    for (const Point3& p : doc.markerPoints()) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        maxZ = std::max(maxZ, p.z);
    }
    EXPECT_FLOAT_EQ(minX, -0.5f * h.x);
    EXPECT_FLOAT_EQ(maxX, 0.5f * h.x);
    EXPECT_FLOAT_EQ(maxZ, 0.5f * h.z);

    // Cells 0 and 1: (-1,-1,1), (1,-1,1) of line 1; cell 6: (1,1,-1) of line 2.
    EXPECT_FLOAT_EQ(doc.pivot().x, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(doc.pivot().y, -1.0f / 3.0f);
    EXPECT_FLOAT_EQ(doc.pivot().z, 1.0f / 3.0f);

    const std::vector<uint32_t> toggled = {0, 6, 99};
    doc.toggleSelected(toggled);
    EXPECT_EQ(doc.pivot(), committed(1, 1));
    doc.clearSelection();
    EXPECT_EQ(doc.pivot(), Point3{});
}

TEST_F(DocTest, TheSelectionLastsWhileTheDimensionsDo) {
    doc.newShape();
    std::vector<uint32_t> flags(8, 0);
    flags[3] = CELL_SELECTED;
    doc.setHandles(flags);
    doc.setType(DIM_POLES_CR);
    doc.toggleColumnLevel(2);
    EXPECT_EQ(doc.handles()[3], CELL_SELECTED);

    ASSERT_TRUE(doc.insertColumn(1));
    EXPECT_EQ(doc.handleCount(), 10u);
    for (uint32_t f : doc.handles()) {
        EXPECT_EQ(f, 0u);
    }
}

TEST_F(DocTest, ListenersHearEachChangeOnceInRankThenRegistrationOrder) {
    Watcher second(log, "second");
    Watcher link(log, "link");
    Watcher scene(log, "scene");
    doc.addListener(&link, ListenerRank::Link);
    doc.addListener(&second);
    doc.addListener(&scene, ListenerRank::Scene);
    doc.newShape();
    log.clear();

    doc.setType(DIM_SHEET_LINEAR);
    EXPECT_EQ(log, (std::vector<std::string>{"scene rebuilt", "w rebuilt", "second rebuilt",
                                             "link rebuilt", "scene markers", "w markers",
                                             "second markers", "link markers"}));

    // A refused edit tells nobody; an accepted one rebuilds once.
    log.clear();
    EXPECT_FALSE(doc.deleteColumn(0));
    EXPECT_FALSE(doc.insertLine(3));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(doc.insertLine(1));
    EXPECT_EQ(log.size(), 8u);

    doc.removeListener(&second);
    log.clear();
    doc.clearSelection();
    EXPECT_EQ(log, (std::vector<std::string>{"scene selection", "w selection", "link selection",
                                             "scene markers", "w markers", "link markers"}));
    doc.removeListener(&link);
    doc.removeListener(&scene);
}

TEST_F(DocTest, AListenerMayLeaveWhileBeingTold) {
    struct Leaver : DocumentListener {
        explicit Leaver(Ctesk001Doc& d) : doc(d) {}
        void shapeRebuilt() override {
            ++heard;
            doc.removeListener(this);
        }
        Ctesk001Doc& doc;
        int heard = 0;
    } leaver(doc);
    doc.addListener(&leaver);
    doc.newShape();
    doc.rebuild();
    EXPECT_EQ(leaver.heard, 1);
    EXPECT_EQ(watcher.rebuilt, 2);
}

TEST_F(DocTest, SaveAndLoadRecordTheNameAndTheStoredType) {
    doc.newShape();
    doc.setType(DIM_POLES_CR);
    const std::string path = scratch.file("roundtrip.tsk");
    ASSERT_TRUE(doc.saveProject(path));
    EXPECT_EQ(doc.getFileName(), path);
    EXPECT_EQ(watcher.stored, 1);
    EXPECT_FALSE(doc.isNewShape());

    doc.newShape();
    EXPECT_TRUE(doc.isNewShape());
    doc.setType(DIM_POLES_LINEAR);
    ASSERT_TRUE(doc.loadProject(path));
    EXPECT_EQ(doc.selectedType(), DIM_POLES_CR);
    EXPECT_EQ(doc.getFileName(), path);
    EXPECT_EQ(watcher.names.back(), path);
    EXPECT_EQ(watcher.stored, 2);
    EXPECT_FALSE(doc.isNewShape());

    // A snapshot loads back the same shape under the given name.
    std::vector<uint8_t> snapshot;
    doc.writeSnapshot(snapshot);
    ASSERT_TRUE(doc.slidePoints(1));
    EXPECT_NE(committed(0, 1), (Point3{-1, -1, 1}));
    ASSERT_TRUE(doc.loadProject("snap.tsk", &snapshot));
    EXPECT_EQ(committed(0, 1), (Point3{-1, -1, 1}));
}

TEST_F(DocTest, FailedLoadsAndSavesChangeNothing) {
    doc.newShape();
    doc.setType(DIM_SHEET_LINEAR);
    const std::vector<uint32_t> map = doc.mesh().map;
    const int stored = watcher.stored;

    EXPECT_FALSE(doc.loadProject(scratch.file("missing_dir/none.tsk")));
    EXPECT_FALSE(doc.loadProject(""));
    EXPECT_FALSE(doc.saveProject(scratch.file("missing_dir/x.tsk")));
    EXPECT_FALSE(doc.saveProject(""));
    std::vector<uint8_t> garbage = {1, 2, 3};
    EXPECT_FALSE(doc.loadProject("bad.tsk", &garbage));

    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_EQ(doc.selectedType(), DIM_SHEET_LINEAR);
    EXPECT_EQ(doc.mesh().map, map);
    EXPECT_EQ(doc.mesh().lineCount(), 4);
    EXPECT_EQ(watcher.stored, stored);
    EXPECT_TRUE(doc.isNewShape());
    EXPECT_GE(messages.texts.size(), 3u); // every failure that reached a file was reported
}

TEST_F(DocTest, ASnapshotIsNotASave) {
    doc.newShape();
    log.clear();
    std::vector<uint8_t> image;
    doc.writeSnapshot(image);
    EXPECT_FALSE(image.empty());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_TRUE(doc.isNewShape());

    // A confirm records a snapshot under the current name without renaming or announcing a
    // save; only Undo and Redo become possible.
    doc.confirm();
    EXPECT_EQ(log, (std::vector<std::string>{"w rebuilt", "w markers"}));
    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_EQ(watcher.stored, 0);
    EXPECT_FALSE(doc.isNewShape());
}

TEST_F(DocTest, UndoAndRedoStepThroughConfirmedStates) {
    doc.newShape();
    EXPECT_FALSE(doc.undo()) << "nothing while the shape is new";
    const Point3 start = committed(0, 1);
    const Point3 first{5, 0, 0};
    const Point3 second{7, 0, 0};
    const std::vector<CellPoint> moveFirst = {{0, first}};
    const std::vector<CellPoint> moveSecond = {{0, second}};

    ASSERT_TRUE(doc.setWorkPoints(moveFirst));
    EXPECT_EQ(committed(0, 1), start) << "working points only";
    doc.confirm();
    EXPECT_EQ(committed(0, 1), first);
    doc.setWorkPoints(moveSecond);
    doc.confirm();
    doc.setWorkPoints(std::vector<CellPoint>{{0, {9, 9, 9}}}); // unconfirmed

    ASSERT_TRUE(doc.undo()); // back to the last confirm, dropping the working change
    EXPECT_EQ(doc.mesh().workPoint(0, 1), second);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(committed(0, 1), first);
    ASSERT_TRUE(doc.undo()); // the shape New made
    EXPECT_EQ(committed(0, 1), start);
    EXPECT_FALSE(doc.undo());
    ASSERT_TRUE(doc.redo());
    EXPECT_EQ(committed(0, 1), first);
    EXPECT_EQ(doc.getFileName(), "tesk.tsk");

    doc.setWorkPoints(moveSecond);
    EXPECT_TRUE(doc.revert());
    EXPECT_EQ(doc.mesh().workPoint(0, 1), first);
}

TEST_F(DocTest, PointSlideTurnsEveryLineByOnePlace) {
    doc.newShape();
    const Point3 p0 = committed(0, 1);
    const Point3 p3 = committed(3, 1);
    ASSERT_TRUE(doc.slidePoints(1)); // "<"
    EXPECT_EQ(committed(1, 1), p0);
    EXPECT_EQ(doc.mesh().workPoint(1, 1), p0);
    ASSERT_TRUE(doc.slidePoints(-1)); // ">"
    EXPECT_EQ(committed(0, 1), p0);
    EXPECT_EQ(committed(3, 1), p3);
}

TEST_F(DocTest, DividesAndLevelChangesAreUndoSteps) {
    doc.newShape();
    doc.confirm();
    ASSERT_TRUE(doc.insertColumn(3));
    ASSERT_TRUE(doc.toggleLineLevel(1));
    EXPECT_FALSE(doc.toggleLineLevel(0)) << "poles have no level";
    EXPECT_EQ(doc.mesh().lineLevel(1), LEVEL_IMPORTANT);

    ASSERT_TRUE(doc.undo()); // back before the level change: the divide
    EXPECT_EQ(doc.mesh().lineLevel(1), LEVEL_NORMAL);
    EXPECT_EQ(doc.mesh().pointsPerLine(), 5);
    ASSERT_TRUE(doc.undo()); // back before the divide
    EXPECT_EQ(doc.mesh().pointsPerLine(), 4);
    EXPECT_EQ(doc.handleCount(), 8u);
    EXPECT_FALSE(doc.undo()) << "the confirm recorded nothing new";
    ASSERT_TRUE(doc.redo());
    EXPECT_EQ(doc.mesh().pointsPerLine(), 5);
    ASSERT_TRUE(doc.redo());
    EXPECT_EQ(doc.mesh().lineLevel(1), LEVEL_IMPORTANT);
}

TEST_F(DocTest, ThePivotFollowsCommittedPointsUnderTheSelection) {
    doc.newShape();
    std::vector<uint32_t> flags(8, 0);
    flags[0] = CELL_SELECTED;
    doc.setHandles(flags);
    EXPECT_EQ(doc.pivot(), committed(0, 1));
    doc.setWorkPoints(std::vector<CellPoint>{{0, {3, 3, 3}}});
    EXPECT_EQ(doc.pivot(), committed(0, 1)) << "working points do not move the pivot";
    doc.confirm();
    EXPECT_EQ(doc.pivot(), (Point3{3, 3, 3}));
    doc.slidePoints(1);
    EXPECT_EQ(doc.pivot(), committed(0, 1));
}

TEST_F(DocTest, ModifiedMeansWorkWouldBeLost) {
    EXPECT_FALSE(doc.isModified()) << "the empty start shape holds nothing to lose";
    doc.newShape();
    EXPECT_FALSE(doc.isModified()) << "a fresh default shape is not unsaved work";
    doc.setWorkPoints(std::vector<CellPoint>{{0, {5, 0, 0}}});
    EXPECT_TRUE(doc.isModified()) << "an unconfirmed slider change";
    doc.revert();
    EXPECT_FALSE(doc.isModified());
    doc.setType(DIM_SHEET_LINEAR);
    EXPECT_TRUE(doc.isModified()) << "the type is stored in the file";

    const std::string path = scratch.file("a.tsk");
    ASSERT_TRUE(doc.saveProject(path));
    EXPECT_FALSE(doc.isModified());
    doc.slidePoints(1);
    EXPECT_TRUE(doc.isModified());
    doc.slidePoints(-1);
    EXPECT_FALSE(doc.isModified()) << "back where it was saved";

    doc.insertColumn(1);
    ASSERT_TRUE(doc.isModified());
    Ctesk001Doc other(messages, "/opt/tesk/");
    ASSERT_TRUE(other.loadProject(path));
    EXPECT_FALSE(other.isModified()) << "a loaded shape is what is on disk";
    ASSERT_TRUE(other.loadProject(TESK_EXAMPLES_DIR "/sphere.tsk"));
    EXPECT_FALSE(other.isModified()) << "poles derived by the build are not work";
}

TEST_F(DocTest, TheFirstUndoAfterALoadReturnsTheLoadedState) {
    doc.newShape();
    doc.setWorkPoints(std::vector<CellPoint>{{0, {4, 0, 0}}});
    doc.confirm();
    const std::string path = scratch.file("b.tsk");
    ASSERT_TRUE(doc.saveProject(path));

    Ctesk001Doc loaded(messages, "/opt/tesk/");
    ASSERT_TRUE(loaded.loadProject(path));
    const Point3 atLoad = loaded.mesh().workPoint(0, 1);
    loaded.setWorkPoints(std::vector<CellPoint>{{0, {9, 9, 9}}});
    loaded.confirm();
    loaded.setWorkPoints(std::vector<CellPoint>{{0, {8, 8, 8}}});
    loaded.confirm();
    ASSERT_TRUE(loaded.undo());
    EXPECT_EQ(loaded.mesh().workPoint(0, 1), (Point3{9, 9, 9}));
    ASSERT_TRUE(loaded.undo());
    EXPECT_EQ(loaded.mesh().workPoint(0, 1), atLoad) << "the state at load is reachable";
    EXPECT_FALSE(loaded.isModified());
    EXPECT_FALSE(loaded.undo()) << "nothing before the load";
    ASSERT_TRUE(loaded.redo());
    EXPECT_EQ(loaded.mesh().workPoint(0, 1), (Point3{9, 9, 9}));

    // A point slide is not recorded: the first Undo drops it, the next steps back.
    loaded.slidePoints(1);
    ASSERT_TRUE(loaded.undo());
    EXPECT_EQ(loaded.mesh().workPoint(0, 1), (Point3{9, 9, 9}));
    ASSERT_TRUE(loaded.undo());
    EXPECT_EQ(loaded.mesh().workPoint(0, 1), atLoad);
}

TEST_F(DocTest, SaveAsStartsTheNewNamesHistoryAndNewForgetsOtherShapes) {
    doc.newShape();
    doc.setWorkPoints(std::vector<CellPoint>{{0, {1, 2, 3}}});
    doc.confirm();
    const std::string first = scratch.file("first.tsk");
    ASSERT_TRUE(doc.saveProject(first));
    doc.setWorkPoints(std::vector<CellPoint>{{0, {4, 5, 6}}});
    doc.confirm();
    const std::string second = scratch.file("Second.tsk");
    ASSERT_TRUE(doc.saveProject(second));
    EXPECT_FALSE(doc.undo()) << "Second.tsk's history starts at its save";
    EXPECT_EQ(doc.mesh().workPoint(0, 1), (Point3{4, 5, 6}));

    // Names that differ only in case are two files with two histories.
    const std::string lower = scratch.file("second.tsk");
    doc.setWorkPoints(std::vector<CellPoint>{{0, {7, 7, 7}}});
    doc.confirm();
    ASSERT_TRUE(doc.saveProject(lower));
    EXPECT_FALSE(doc.undo());
    EXPECT_EQ(doc.mesh().workPoint(0, 1), (Point3{7, 7, 7}));
    ASSERT_TRUE(doc.loadProject(second));
    EXPECT_EQ(doc.mesh().workPoint(0, 1), (Point3{4, 5, 6}));
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.mesh().workPoint(0, 1), (Point3{7, 7, 7}))
        << "the state confirmed under Second.tsk before the save under second.tsk";

    // Unsaved new shapes share the default name; a New forgets the one before.
    doc.newShape();
    doc.setWorkPoints(std::vector<CellPoint>{{0, {3, 3, 3}}});
    doc.confirm();
    doc.newShape();
    doc.setWorkPoints(std::vector<CellPoint>{{1, {2, 2, 2}}});
    doc.confirm();
    ASSERT_TRUE(doc.undo());
    EXPECT_FALSE(doc.undo()) << "the default shape is as far back as Undo goes";
    EXPECT_EQ(doc.mesh().workPoint(0, 1), (Point3{-1, -1, 1}));
}

TEST_F(DocTest, AnImportIsANewUnsavedShapeAndAFailedOneChangesNothing) {
    doc.newShape();
    const std::string picture = scratch.file("cube.png");
    ASSERT_TRUE(doc.exportSculptMap(picture, {}));
    const std::vector<uint32_t> map = doc.mesh().map;
    const std::string grey = scratch.file("grey.bmp");
    const std::vector<uint32_t> one(kMapPixels, 0x404040u);
    ASSERT_TRUE(ExportSculptImage(grey, one.data(), kMapSide, kMapSide, {}, messages));

    EXPECT_FALSE(doc.importSculptMap(grey));
    EXPECT_EQ(messages.texts.back(), kOneColourMapMessage);
    EXPECT_FALSE(doc.importSculptMap(scratch.file("none.png")));
    EXPECT_EQ(doc.getFileName(), "tesk.tsk");
    EXPECT_EQ(doc.mesh().lineCount(), 4);
    EXPECT_FALSE(doc.lastImport().has_value());

    ASSERT_TRUE(doc.importSculptMap(picture));
    EXPECT_EQ(doc.getFileName(), scratch.file("cube.tsk"));
    EXPECT_TRUE(doc.isNewShape());
    EXPECT_TRUE(doc.isModified()) << "closing now would lose the fitted shape";
    EXPECT_EQ(doc.selectedType(), doc.lastImport()->type);
    EXPECT_LE(doc.lastImport()->meanError(), 1.5);
    EXPECT_EQ(CompareMaps(doc.mesh().map.data(), map.data(), kMapPixels)[1].largest,
              doc.lastImport()->error[1].largest);

    doc.newShape();
    EXPECT_FALSE(doc.lastImport().has_value()) << "the report belongs to the imported shape";
}
