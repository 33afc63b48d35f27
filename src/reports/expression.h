#pragma once
// Report expressions: parsing and evaluation in one pass.
//
// Usage:
//     tz::rep::EvalResult r = tz::rep::evaluate(QStringLiteral("#CENA*1,21"), &ctx);
//     if (r.error) ... r.position (0-based) ... else r.value
//     bool show = tz::rep::testCondition(element.condition, &ctx);
//     QString key = tz::rep::evaluateText(group.effectiveExpression(), &ctx);
//
// References: "#" field (1-based number or name), "&" parameter (number),
// "@" user function (number or name), "%" system value (number). The values
// come from an EvalContext, the data-source interface of the evaluator: a
// report component answers it from its dataset, parameters, user functions and
// run state (TSestavaTyp does, see reportmodel.h). Every lookup gets a 0-based
// index; std::nullopt means "could not be fetched" and gives an empty null
// value. The context is passed explicitly, so a nested detail report simply
// evaluates with its own context.
//
// Errors are codes (ExprError), never exceptions; the position is the index
// of the character at which the error was found.
#include "calcvalue.h"

#include <QString>

#include <optional>

namespace tz::rep {

class EvalContext {
public:
    virtual ~EvalContext() = default;
    // Positions by name (case-insensitive), -1 when unknown.
    virtual int fieldPosition(const QString &name) const;
    virtual int functionPosition(const QString &name) const;
    // Values by 0-based position.
    virtual std::optional<TCalcType> fieldValue(int index) const;
    virtual std::optional<TCalcType> parameterValue(int index) const;
    virtual std::optional<TCalcType> functionValue(int index) const;
    virtual std::optional<TCalcType> systemValue(int index) const;
};

enum ExprError {
    exOK = 0,
    exUnknownName = 1,
    exMisplaced = 2,
    exTooDeep = 3,
    exUnbalancedClose = 4,
    exUnclosedOpen = 5,
    exArithmetic = 6,
    exBadNumber = 7,
    exTooFewArgs = 10,
    exTooManyArgs = 11,
    exUnterminatedText = 12,
    exUnterminatedBracket = 13,
};

struct EvalResult {
    TCalcType value;
    int error = exOK;
    int position = -1;
    bool ok() const { return error == exOK; }
};

// The most operators or values that may be pending at once.
constexpr int kMaxPending = 40;

EvalResult evaluate(const QString &expression, const EvalContext *context);
// True when the expression evaluates without error to a number above 0.
bool testCondition(const QString &expression, const EvalContext *context);
// The text of the value, or an empty text on error.
QString evaluateText(const QString &expression, const EvalContext *context);

// Czech description of an error code ("neznámý název", ...).
QString exprErrorText(int code);
// The designer's check message: "Výraz je v pořádku." or
// "Chyba : "<description>" na pozici <1-based position>".
QString exprCheckMessage(const EvalResult &r);

// The 43 built-in functions with their argument counts.
struct BuiltinFunction {
    const char *name;
    int argc;
};
const BuiltinFunction *builtinFunctions(int *count);

} // namespace tz::rep
