#include "Csv.h"

namespace Csv {

QList<Row> parse(const QByteArray& bytes)
{
    QList<Row> rows;
    const char* at = bytes.constData();
    const char* const end = at + bytes.size();
    int line = 1;
    // One line end, CR LF counting once.
    const auto lineEnd = [&](const char*& p) {
        if (*p == '\r' && p + 1 < end && p[1] == '\n') {
            ++p;
        }
        ++p;
        ++line;
    };
    while (at < end) {
        Row row {line, {}};
        bool rowEnded = false;
        while (!rowEnded) {
            QByteArray text;
            if (at < end && *at == '"') {
                ++at;
                while (at < end) {
                    if (*at == '"') {
                        if (at + 1 < end && at[1] == '"') {
                            text += '"';
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    if (*at == '\r' || *at == '\n') {
                        const char* from = at;
                        lineEnd(at);
                        text.append(from, at - from);
                        continue;
                    }
                    text += *at++;
                }
            }
            const char* from = at;
            while (at < end && *at != ',' && *at != '\r' && *at != '\n') {
                ++at;
            }
            text.append(from, at - from);
            row.fields.append(text);
            if (at < end && *at == ',') {
                ++at;
            } else {
                if (at < end) {
                    lineEnd(at);
                }
                rowEnded = true;
            }
        }
        if (row.fields.size() > 1 || !row.fields.first().isEmpty()) {
            rows.append(row);
        }
    }
    return rows;
}

QByteArray field(const QByteArray& text)
{
    if (!text.contains('"') && !text.contains(',') && !text.contains('\r') && !text.contains('\n')) {
        return text;
    }
    QByteArray quoted = text;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

} // namespace Csv
