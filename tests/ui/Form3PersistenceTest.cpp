#include "game/GameState.h"
#include "support/FakeServices.h"
#include "support/SettingsFixtures.h"
#include "ui/Form3.h"
#include "ui/SettingsStore.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// The records dialog works on the game's own table, so what it empties is what
// the settings store writes at the end of the program.
TEST(Form3PersistenceTest, ClearingTheBonusTableSurvivesASaveAndReloadAndLeavesTheOtherTable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TSettingsStore store(dir.filePath(QStringLiteral("Settings.ini")));

    test::FakeOptionMarks marks;
    TGameState game = test::PresetGameState(marks);
    for (size_t t = 0; t < 2; ++t) {
        for (size_t m = 0; m < 3; ++m) {
            game.Records[t][m] = {static_cast<uint32_t>(10 * (t + 1) + m),
                                  QStringLiteral("Spieler %1%2").arg(t).arg(m)};
        }
    }
    const auto withoutBonus = game.Records[0];

    marks.BonusPoints = true;
    {
        TForm3 form(game.Records, marks);
        form.show();
        ASSERT_EQ(form.TabControl1->TabIndex(), 1);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        form.hide();
    }
    store.Save(game);

    TGameState reloaded;
    test::FakeOptionMarks reloadedMarks;
    reloaded.Presets = MakePresets();
    reloaded.Options = &reloadedMarks;
    store.Load(reloaded);
    EXPECT_EQ(reloaded.Records[0], withoutBonus);
    for (const TRecord& entry : reloaded.Records[1]) {
        EXPECT_EQ(entry.Points, 0u);
    }
}

} // namespace
} // namespace fenu
