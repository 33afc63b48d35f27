#pragma once
// Command line of the report engine, the words after "report":
//   check FILE.pts                 loads a definition and prints its structure
//                                  (sections, groups, elements, functions,
//                                  details) or the error; checks the syntax
//                                  of every expression in it
//   eval "EXPR" [--param TEXT]...  evaluates an expression without data; the
//                                  parameters are &1, &2, ... in order
// Returns 0 on success, 1 when the definition or the expression is bad, 2 on
// wrong usage.
#include <QStringList>
#include <QTextStream>

namespace tz::rep {

int runCli(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace tz::rep
