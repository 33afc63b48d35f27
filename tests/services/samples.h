#pragma once
// Sample documents filled from the installed templates, for the checks with an
// independent reader (LibreOffice).
#include <QString>

namespace samples {
// The list of accessories: 40 rows, leading zeros, dates, numbers, a logo.
void writeList(const QString &path);
// The summary protocol with three chains and a price total.
void writeSummary(const QString &path);
// The equipment protocol: header cells, checklist, defects, signatures; protected.
void writeProtocol(const QString &path);
} // namespace samples
