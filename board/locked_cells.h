#pragma once

#include <QString>

namespace board {

// A cell's key: column digit, ",", row digit ("3,7" for column 3, row 7).
QString CellKey(int column, int row);

// The locked cells as four-character records of column digit, ",", row digit, ";", in
// column order and, within a column, in row order. Empty when nothing is locked.
class LockedCells {
public:
    const QString& Text() const { return text_; }
    // The number of records, counted when the list was built.
    int Count() const { return count_; }
    bool IsEmpty() const { return text_.isEmpty(); }

    // A record's three-character key can only start at a record boundary, so a plain
    // substring search finds exactly the locked cells.
    bool Contains(int column, int row) const { return text_.contains(CellKey(column, row)); }

    void Clear() {
        text_.clear();
        count_ = 0;
    }
    // Cells must be appended in column order, then row order.
    void Append(int column, int row) {
        text_ += CellKey(column, row) + u';';
        ++count_;
    }

private:
    QString text_;
    int count_ = 0;
};

}  // namespace board
