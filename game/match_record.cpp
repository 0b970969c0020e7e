#include "game/match_record.h"

namespace tolka {

namespace {

constexpr int kPoints = 0, kBonus = 1, kTotal = 2;

std::int16_t Narrow(int value) {
    return static_cast<std::int16_t>(value);
}

// Sums, set scores and match totals follow from the game rows alone.
void Recount(MatchRecord& record) {
    for (MatchSide& side : record.sides)
        for (SetScores& set : side.sets) {
            int sums[3] = {0, 0, 0};
            for (int game = 0; game < kGamesPerSet; ++game) {
                std::int16_t* row = set.rows[game];
                row[kTotal] = Narrow(row[kPoints] + row[kBonus]);
                for (int column = 0; column < 3; ++column)
                    sums[column] += row[column];
            }
            for (int column = 0; column < 3; ++column)
                set.rows[kSumsRow][column] = Narrow(sums[column]);
        }
    for (int s = 0; s < 2; ++s) {
        MatchSide& own = record.sides[s];
        const MatchSide& other = record.sides[1 - s];
        int total = 0;
        for (int set = 0; set < kMatchSets; ++set) {
            const int lead = own.sets[set].rows[kSumsRow][kTotal] - other.sets[set].rows[kSumsRow][kTotal];
            own.sets[set].score = Narrow(lead > 0 ? lead : 0);
            total += own.sets[set].score;
        }
        own.total = Narrow(total);
    }
}

} // namespace

bool ScoreMatchGame(MatchRecord& record, int store0, int store1) {
    // A record that is complete (or damaged) has no row for another game.
    if (record.set < 0 || record.set >= kMatchSets || record.game < 0 || record.game >= kGamesPerSet)
        return MatchOver(record);
    std::int16_t* rows[2] = {record.sides[0].sets[record.set].rows[record.game],
                             record.sides[1].sets[record.set].rows[record.game]};
    for (std::int16_t* row : rows)
        row[kPoints] = row[kBonus] = row[kTotal] = 0;
    if (store0 == store1) {
        rows[0][kPoints] = rows[1][kPoints] = 6;
    } else {
        const int winner = store1 > store0 ? 1 : 0;
        rows[winner][kPoints] = 12;
        rows[winner][kBonus] = Narrow((winner ? store1 : store0) - 24);
    }
    Recount(record);
    if (++record.game >= kGamesPerSet) {
        record.game = 0;
        ++record.set;
    }
    return MatchOver(record);
}

std::vector<SheetNumber> ScoreSheetNumbers(const MatchRecord& record) {
    std::vector<SheetNumber> numbers;
    for (int s = 0; s < 2; ++s) {
        const MatchSide& side = record.sides[s];
        std::int16_t item = Narrow(kSheetFirstItem + s * kSheetItemsPerSide);
        for (int set = 0; set < kMatchSets; ++set) {
            for (int row = 0; row <= kSumsRow; ++row) {
                const bool played =
                    set < record.set || (set == record.set && row < record.game) || row == kSumsRow;
                for (int column = 0; column < 3; ++column, ++item)
                    if (played) numbers.push_back({item, side.sets[set].rows[row][column]});
            }
            if (set <= record.set) numbers.push_back({item, side.sets[set].score});
            ++item;
        }
        numbers.push_back({item, side.total});
    }
    return numbers;
}

int ScoreSheetResultString(const MatchRecord& record) {
    const int total0 = record.sides[0].total, total1 = record.sides[1].total;
    if (total0 == 0 && total1 == 0) return 0;
    return total1 > total0 ? 17 : total0 > total1 ? 18 : 19;
}

} // namespace tolka
