// The preview's notes in both languages: in English each warning reads word for word as the
// command line's check reports it, in Japanese it is Japanese and keeps the same numbers.
#include "LanguageScope.h"
#include "MapFit.h"
#include "MapSide.h"
#include "Messages.h"
#include "PreviewNotes.h"
#include "SPMesh.h"
#include "SculptMapCheck.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"

#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace tesk;

namespace {

uint32_t& pixel(std::vector<uint32_t>& picture, int row, int column) {
    return picture[static_cast<size_t>(row) * kMapSide + static_cast<size_t>(column)];
}

std::vector<uint32_t> defaultPicture(int32_t type) {
    SPMesh mesh;
    mesh.makeDefault();
    RecordingMessages messages;
    EXPECT_TRUE(BuildSurface(mesh, type, messages));
    return pictureOfMap(mesh.map);
}

/// A tube of 64 distinct columns whose rows climb: read as a sheet, its columns meet.
std::vector<uint32_t> tubePicture() {
    std::vector<uint32_t> ring(kMapPixels);
    for (int r = 0; r < kMapSide; ++r) {
        for (int c = 0; c < kMapSide; ++c) {
            const double a = 2.0 * M_PI * c / 63;
            const auto code = [](double v) {
                return static_cast<uint32_t>(std::lround(127.5 + 127.5 * v));
            };
            pixel(ring, r, c) =
                code(std::cos(a)) | code(std::sin(a)) << 8 | static_cast<uint32_t>(r * 4) << 16;
        }
    }
    return ring;
}

/// Every warning and error the check can give, from maps that have them.
std::vector<CheckFinding> troubledFindings() {
    std::vector<SculptMapCheck> checks;
    checks.push_back(checkSculptMap(std::vector<uint32_t>(kMapPixels, 0x808080u), kStitchSphere));
    std::vector<uint32_t> broken = defaultPicture(DIM_POLES_LINEAR);
    for (int r = 1; r < kMapSide - 1; ++r) {
        pixel(broken, r, 0) = pixel(broken, r, 32);
    }
    pixel(broken, 0, 5) ^= 0x000040u; // and a pole that does not collapse
    checks.push_back(checkSculptMap(broken, kStitchSphere));
    checks.push_back(checkSculptMap(tubePicture(), kStitchPlane));
    checks.push_back(checkSculptMap(tubePicture(), kStitchTorus)); // its rows do not wrap
    std::vector<uint32_t> ridged = defaultPicture(DIM_SHEET_LINEAR);
    for (int r = 0; r < kMapSide; ++r) {
        pixel(ridged, r, 31) = (pixel(ridged, r, 31) & 0x00FFFFu) | 0xFF0000u;
    }
    checks.push_back(checkSculptMap(ridged, kStitchPlane));
    std::vector<uint32_t> narrow = defaultPicture(DIM_SHEET_LINEAR);
    for (uint32_t& p : narrow) {
        p &= 0x00FFFFu;
    }
    pixel(narrow, 10, 10) |= 0x030000u;
    pixel(narrow, 11, 10) = (pixel(narrow, 11, 10) & 0xFFFF00u) | 0x02u;
    checks.push_back(checkSculptMap(narrow, kStitchPlane));

    std::vector<CheckFinding> findings;
    for (const SculptMapCheck& check : checks) {
        for (const CheckFinding& finding : check.findings) {
            if (finding.severity != CheckSeverity::Ok) {
                findings.push_back(finding);
            }
        }
    }
    return findings;
}

} // namespace

TEST(PreviewNotes, EveryWarningReadsInEnglishAsTheCommandLineSaysIt) {
    const LanguageScope english(UiLanguage::English);
    ASSERT_TRUE(english.loaded());
    const std::vector<CheckFinding> findings = troubledFindings();
    std::vector<CheckNote> notes;
    for (const CheckFinding& finding : findings) {
        notes.push_back(finding.note);
        const QString severity = finding.severity == CheckSeverity::Error ? "error" : "warning";
        EXPECT_EQ(findingNote(finding),
                  QStringLiteral("%1 - %2: %3")
                      .arg(severity, finding.name, QString::fromStdString(finding.text)));
    }
    for (const CheckNote note :
         {CheckNote::AreaOutside, CheckNote::SeamOpenRows, CheckNote::SeamOpenColumns,
          CheckNote::SheetLoopColumns, CheckNote::PolesSpread, CheckNote::DetailLost,
          CheckNote::Narrow}) {
        EXPECT_NE(std::find(notes.begin(), notes.end(), note), notes.end())
            << "no map gave note " << static_cast<int>(note);
    }
    EXPECT_EQ(lodLevelNote(16), QStringLiteral("16 faces, as viewers build it"));
    MapFitResult fit;
    fit.type = DIM_POLES_BSPLINE;
    fit.lines = 17;
    fit.points = 16;
    fit.error = {{{0.5, 3}, {1.0, 2}, {0.25, 1}}};
    EXPECT_EQ(importNote(fit),
              QStringLiteral("imported as S [4], 17 x 16: 0.58 codes off the picture on average, "
                             "3 at most"));
}

TEST(PreviewNotes, InJapaneseEveryNoteIsJapaneseWithTheSameNumbers) {
    const QRegularExpression numbers(QStringLiteral("[0-9]+(\\.[0-9]+)?"));
    for (const CheckFinding& finding : troubledFindings()) {
        const QString note = findingNote(finding);
        EXPECT_TRUE(hasJapanese(note)) << note.toStdString();
        EXPECT_FALSE(note.contains(QLatin1Char('%') + QChar(u'1'))) << "a value left out";
        // The numbers the command line names, in the same order.
        QStringList expected;
        for (auto m = numbers.globalMatch(QString::fromStdString(finding.text)); m.hasNext();) {
            expected << m.next().captured();
        }
        QStringList shown;
        for (auto m = numbers.globalMatch(note); m.hasNext();) {
            shown << m.next().captured();
        }
        for (const QString& number : expected) {
            EXPECT_TRUE(shown.contains(number))
                << note.toStdString() << " lacks " << number.toStdString();
        }
    }
    EXPECT_EQ(lodLevelNote(8), QStringLiteral("ビューワが作る 8 面のメッシュ"));
    EXPECT_TRUE(findingNote({CheckSeverity::Ok, "seam", "closed"}).isEmpty());
}
