#include "PreviewNotes.h"

#include "MapFit.h"
#include "SculptMapCheck.h"
#include "ShapeTypes.h"
#include "TextMarks.h"

#include <QCoreApplication>
#include <QStringList>

namespace tesk {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("PreviewNotes", text);
}

struct NoteText {
    CheckNote note;
    int values;       ///< how many of the finding's values the text shows
    const char* text; ///< the values as %1, %2, ...
};

// clang-format off
constexpr NoteText kNoteTexts[] = {
    {CheckNote::AreaOutside, 4, TESK_TEXT("PreviewNotes",
        "%2 面での面積 %1 は %3 〜 %4 の外です。ビューワはかわりに球を表示します")},
    {CheckNote::SeamOpenRows, 3, TESK_TEXT("PreviewNotes",
        "%1 行で継ぎ目が開いています: 最初と最後の列の差は最大 %2 コード、隣り合う列の差は最大 %3")},
    {CheckNote::SeamOpenColumns, 3, TESK_TEXT("PreviewNotes",
        "%1 列で継ぎ目が開いています: 最初と最後の行の差は最大 %2 コード、隣り合う行の差は最大 %3")},
    {CheckNote::SheetLoopColumns, 0, TESK_TEXT("PreviewNotes",
        "シートで作った輪です: 最初と最後の列が重なりますが、ビューワはシートの端をつなぎません。"
        "チューブ (C) かリング (T) のタイプならつながります")},
    {CheckNote::SheetLoopRows, 0, TESK_TEXT("PreviewNotes",
        "シートで作った輪です: 最初と最後の行が重なりますが、ビューワはシートの端をつなぎません。"
        "チューブ (C) かリング (T) のタイプならつながります")},
    {CheckNote::SheetLoopBoth, 0, TESK_TEXT("PreviewNotes",
        "シートで作った輪です: 最初と最後の列と行が重なりますが、ビューワはシートの端をつなぎません。"
        "チューブ (C) かリング (T) のタイプならつながります")},
    {CheckNote::PolesSpread, 2, TESK_TEXT("PreviewNotes",
        "上の行は中央のピクセルから %1 コード、下の行は %2 コード広がっています。"
        "ビューワはどちらも一点に集めます")},
    {CheckNote::DetailLost, 2, TESK_TEXT("PreviewNotes",
        "%1 面の形は元の形から大きさの最大 %2 % 離れています。その細部はどのレベルにも出ません")},
};
// clang-format on

/// What each check is about, by the name the command line reports it under.
struct FindingName {
    const char* name;
    const char* text;
};
constexpr FindingName kFindingNames[] = {
    {"area", TESK_TEXT("PreviewNotes", "面積")},      {"seam", TESK_TEXT("PreviewNotes", "継ぎ目")},
    {"poles", TESK_TEXT("PreviewNotes", "極")},       {"detail", TESK_TEXT("PreviewNotes", "細部")},
    {"precision", TESK_TEXT("PreviewNotes", "精度")},
};

/// The channels of a Narrow finding that span too few codes, each named with its span.
QString narrowNote(const CheckFinding& finding) {
    static constexpr const char* kChannels[3] = {TESK_TEXT("PreviewNotes", "X (赤)"),
                                                 TESK_TEXT("PreviewNotes", "Y (緑)"),
                                                 TESK_TEXT("PreviewNotes", "Z (青)")};
    QStringList narrow;
    for (size_t k = 0; k < 3; ++k) {
        const int span = static_cast<int>(finding.values[k]);
        if (span > 0 && span < kMinChannelSpan) {
            narrow << translated(TESK_TEXT("PreviewNotes", "%1 は %2 コードの幅しかありません"))
                          .arg(translated(kChannels[k]))
                          .arg(span);
        }
    }
    return translated(TESK_TEXT("PreviewNotes", "%1。形を表すには段階が足りません"))
        .arg(narrow.join(translated(TESK_TEXT("PreviewNotes", "、"))));
}

/// A value as the notes show it: whole numbers without decimals, others with up to four digits.
QString number(double value) {
    return QString::number(value, 'g', 4);
}

} // namespace

QString lodLevelNote(int faces) {
    return translated(TESK_TEXT("PreviewNotes", "ビューワが作る %1 面のメッシュ")).arg(faces);
}

QString importNote(const MapFitResult& fit) {
    const ShapeTypeInfo* info = findShapeType(fit.type);
    return translated(
               TESK_TEXT("PreviewNotes",
                         "%1 として %2 × %3 で読み込みました: 画像との差は平均 %4 コード、最大 %5"))
        .arg(QString::fromLatin1(info != nullptr ? info->caption : "?"))
        .arg(fit.lines)
        .arg(fit.points)
        .arg(fit.meanError(), 0, 'f', 2)
        .arg(fit.largestError());
}

QString findingNote(const CheckFinding& finding) {
    if (finding.severity == CheckSeverity::Ok) {
        return {};
    }
    QString text;
    if (finding.note == CheckNote::Narrow) {
        text = narrowNote(finding);
    }
    for (const NoteText& entry : kNoteTexts) {
        if (entry.note == finding.note) {
            text = translated(entry.text);
            for (size_t i = 0; i < static_cast<size_t>(entry.values); ++i) {
                // The distance is a percentage to one decimal, as the command line gives it.
                const bool percent = entry.note == CheckNote::DetailLost && i == 1;
                text = text.arg(percent ? QString::number(finding.values[i], 'f', 1)
                                        : number(finding.values[i]));
            }
        }
    }
    const QString severity = finding.severity == CheckSeverity::Error
                                 ? translated(TESK_TEXT("PreviewNotes", "エラー"))
                                 : translated(TESK_TEXT("PreviewNotes", "注意"));
    QString about = QString::fromLatin1(finding.name);
    for (const FindingName& entry : kFindingNames) {
        about = about == QLatin1String(entry.name) ? translated(entry.text) : about;
    }
    return translated(TESK_TEXT("PreviewNotes", "%1 - %2: %3"))
        .arg(severity, about, text.isEmpty() ? QString::fromStdString(finding.text) : text);
}

} // namespace tesk
