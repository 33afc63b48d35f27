#pragma once
// Filters on an open result: terms "field relation value" (=, <, >, <=, >=, <>,
// IS NULL, IS NOT NULL) joined by AND, OR, AND NOT, OR NOT, in parentheses.
// Strings and dates are written in single quotes, dates as "dd.mm.yyyy"; texts
// compare without regard to letter case; a string ending in "*" matches as a prefix.
#include "db.h"

#include <functional>
#include <memory>

namespace tz::db {

class FilterError : public Error
{
public:
    FilterError(const QString &message, int position);
    int position() const { return m_position; }

private:
    int m_position;
};

class Filter
{
public:
    using Resolve = std::function<int(const QString &field)>;       // column or -1
    using TypeOf = std::function<FieldType(int column)>;
    using ValueOf = std::function<QVariant(int column)>;

    Filter();
    ~Filter();
    Filter(Filter &&) noexcept;
    Filter &operator=(Filter &&) noexcept;

    // Parses a filter text; an empty text gives a filter that accepts every row.
    // Throws FilterError naming the position of the fault.
    static Filter compile(const QString &text, const Resolve &resolve, const TypeOf &typeOf);

    bool accepts(const ValueOf &value) const;
    bool isEmpty() const { return !m_root; }

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

// Compares two values of a field type: <0, 0, >0; texts without regard to case.
int compareValues(const QVariant &a, const QVariant &b, FieldType t);

} // namespace tz::db
