#include "persistence/SaveSplitWordCommandHandler.h"

#include "domain/TextCompare.h"
#include "persistence/StoreOperation.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The list arranged the way the table is keyed: by folded form, then by
// position. Inserting in key order appends to the table instead of
// splitting its pages all over; each distinct text is folded and encoded once.
struct KeyOrder {
    struct Text {
        QByteArray utf8;
    };
    struct Folded {
        QByteArray utf8;
        std::vector<std::pair<qint64, qsizetype>> occurrences; // position, text
    };
    std::vector<Text> texts;
    std::vector<Folded> folded;
    std::vector<qsizetype> order; // folded groups sorted by their UTF-8 bytes

    explicit KeyOrder(const QStringList& words) {
        QHash<QString, std::pair<qsizetype, qsizetype>> byText; // text, folded group
        QHash<QString, qsizetype> byFolded;
        for (qsizetype position = 0; position < words.size(); ++position) {
            const QString& word = words[position];
            auto known = byText.constFind(word);
            if (known == byText.cend()) {
                const QString key = text::folded(word);
                auto group = byFolded.constFind(key);
                qsizetype groupIndex;
                if (group == byFolded.cend()) {
                    groupIndex = qsizetype(folded.size());
                    byFolded.insert(key, groupIndex);
                    folded.push_back({key.toUtf8(), {}});
                } else {
                    groupIndex = *group;
                }
                known = byText.insert(word, {qsizetype(texts.size()), groupIndex});
                texts.push_back({word.toUtf8()});
            }
            folded[known->second].occurrences.emplace_back(position, known->first);
        }
        order.resize(folded.size());
        for (qsizetype i = 0; i < qsizetype(order.size()); ++i)
            order[i] = i;
        // SQLite orders text by its bytes (BINARY collation).
        std::sort(order.begin(), order.end(), [this](qsizetype a, qsizetype b) {
            const QByteArray& x = folded[a].utf8;
            const QByteArray& y = folded[b].utf8;
            const int c = std::memcmp(x.constData(), y.constData(), std::min(x.size(), y.size()));
            return c != 0 ? c < 0 : x.size() < y.size();
        });
    }
};

constexpr qsizetype rowsPerInsert = 200;

QByteArray insertSql(qsizetype rows) {
    QByteArray sql = "INSERT INTO TestSplitWordEntity (title, folded, position, text) VALUES ";
    for (qsizetype i = 0; i < rows; ++i) {
        if (i > 0)
            sql += ',';
        sql += "(?1,?" + QByteArray::number(2 + 3 * i) + ",?" + QByteArray::number(3 + 3 * i) +
               ",?" + QByteArray::number(4 + 3 * i) + ')';
    }
    return sql;
}

} // namespace

void SaveSplitWordCommandHandler::handle(const SaveSplitWordCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveSplitWordCommandHandler", [&](StoreConnection& store) {
        const KeyOrder list(command.wordStrings);
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;
        StoreStatement clear(store.handle(), "DELETE FROM TestSplitWordEntity WHERE title = ?");
        clear.bind(1, *title);
        clear.run();
        // Many rows per statement: one statement per row spends more on
        // running the statement than on storing the row.
        std::vector<std::pair<const QByteArray*, std::pair<qint64, const QByteArray*>>> rows;
        rows.reserve(command.wordStrings.size());
        for (qsizetype group : list.order) {
            const auto& folded = list.folded[group];
            for (const auto& [position, text] : folded.occurrences)
                rows.push_back({&folded.utf8, {position, &list.texts[text].utf8}});
        }
        std::unique_ptr<StoreStatement> chunk;
        qsizetype done = 0;
        while (done < qsizetype(rows.size())) {
            const qsizetype count = std::min(rowsPerInsert, qsizetype(rows.size()) - done);
            if (count < rowsPerInsert || !chunk)
                chunk =
                    std::make_unique<StoreStatement>(store.handle(), insertSql(count).constData());
            chunk->bind(1, *title);
            for (qsizetype i = 0; i < count; ++i) {
                const auto& row = rows[done + i];
                chunk->bindUnowned(int(2 + 3 * i), *row.first)
                    .bind(int(3 + 3 * i), row.second.first)
                    .bindUnowned(int(4 + 3 * i), *row.second.second);
            }
            chunk->run();
            done += count;
        }
        transaction.commit();
    });
}
