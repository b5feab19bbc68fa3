// The new-record prompt takes only names that come back from Settings.ini as they
// were entered: what the records dialog shows in this run is what the next run shows.
#include "game/GameState.h"
#include "support/FakeServices.h"
#include "support/SettingsFixtures.h"
#include "ui/InputQuery.h"
#include "ui/SettingsStore.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace fenu {
namespace {

QString SavedAndReloaded(const QString& name) {
    QTemporaryDir dir;
    const TSettingsStore store(dir.filePath(QStringLiteral("Settings.ini")));
    test::FakeOptionMarks marks;
    TGameState game = test::PresetGameState(marks);
    game.Records[1][2] = {99, name};
    store.Save(game);
    TGameState reloaded;
    reloaded.Presets = MakePresets();
    reloaded.Options = &marks;
    store.Load(reloaded);
    return reloaded.Records[1][2].Player;
}

TEST(NameEntry, LettersOfTheCodePageAreTakenAndSurviveTheSettingsFile) {
    TInputQuery query(QStringLiteral("Neuer Rekord"), QStringLiteral("?"), QString());
    QTest::keyClicks(query.Edit(), QStringLiteral("Zoe "));
    for (const QString& piece :
         {QStringLiteral("Müller-"), QStringLiteral("Ł"), QStringLiteral("ukasz")})
        query.Edit()->insert(piece);
    query.Edit()->insert(QStringLiteral(" \"€ ½ ß\"\t"));
    // Ł is no letter of the code page; the rest is.
    const QString expected = QStringLiteral("Zoe Müller-ukasz \"€ ½ ß\"\t");
    EXPECT_EQ(query.Value(), expected);
    EXPECT_EQ(SavedAndReloaded(query.Value()), expected);
}

TEST(NameEntry, CharactersTheFileCannotHoldAreRefusedWhetherTypedOrPasted) {
    TInputQuery query(QStringLiteral("Neuer Rekord"), QStringLiteral("?"), QStringLiteral("Eva"));
    query.Edit()->end(false);
    query.Edit()->insert(QStringLiteral("😀"));         // outside the basic plane
    query.Edit()->insert(QStringLiteral("שלום"));      // right-to-left letters
    query.Edit()->insert(QStringLiteral("Anna\nBob")); // a line break would split the line
    query.Edit()->insert(QStringLiteral("Anna\rBob"));
    QApplication::clipboard()->setText(QStringLiteral("Zoë😀"));
    query.Edit()->paste();
    EXPECT_EQ(query.Value(), QStringLiteral("Eva"));
    EXPECT_EQ(SavedAndReloaded(query.Value()), QStringLiteral("Eva"));
}

TEST(NameEntry, ALongPasteIsCutTo255CharactersThatAllSurvive) {
    TInputQuery query(QStringLiteral("Neuer Rekord"), QStringLiteral("?"), QString());
    QApplication::clipboard()->setText(QString(10000, u'ä'));
    query.Edit()->paste();
    ASSERT_EQ(query.Value(), QString(255, u'ä'));
    EXPECT_EQ(SavedAndReloaded(query.Value()), query.Value());
}

// A name from a file saved as UTF-8 may hold characters the code page has not;
// offered for editing, it must stay editable rather than freeze.
TEST(NameEntry, AnOfferedNameWithOtherCharactersStaysEditable) {
    TInputQuery query(QStringLiteral("Neuer Rekord"), QStringLiteral("?"),
                      QStringLiteral("Łukasz"));
    query.Edit()->end(false);
    QTest::keyClick(query.Edit(), Qt::Key_Backspace);
    QTest::keyClicks(query.Edit(), QStringLiteral("s!"));
    query.Edit()->insert(QStringLiteral("ł"));
    EXPECT_EQ(query.Value(), QStringLiteral("Łukass!")) << "only the offered characters";
}

} // namespace
} // namespace fenu
