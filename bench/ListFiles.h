#pragma once
// The list files the list benchmarks read.
#include <QFile>
#include <QString>

namespace bench {

// A list in blocks of 10,000 lines: each block is a top-level folder with folders five levels
// deep (5, 25, 100 and 400 below it) whose deepest 400 folders share the block's terms.
// Folders come before their contents, as in a saved list. Written as it is made, until it
// has `lines` lines or, given `bytes`, at least that many bytes in whole blocks.
inline QString writeList(const QString& path, int lines, qint64 bytes = 0) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
    QByteArray text;
    qint64 size = 0;
    int written = 0;
    const auto line = [&](const QString& l) {
        text += l.toUtf8();
        text += "\r\n";
        ++written;
    };
    const auto more = [&] { return bytes > 0 ? size < bytes : written < lines; };
    for (int block = 0; more(); ++block) {
        const int blockEnd = bytes > 0 ? written + 10000 : std::min(lines, written + 10000);
        const QString a = QStringLiteral("Topic %1|").arg(block);
        line(a);
        const int leaves = 400;
        const int folders = 1 + 5 + 25 + 100 + leaves;
        const int terms = blockEnd - written - (folders - 1);
        int leaf = 0;
        for (int b = 0; b < 5; ++b) {
            const QString pb = a + QStringLiteral("Area %1|").arg(b);
            line(pb);
            for (int c = 0; c < 5; ++c) {
                const QString pc = pb + QStringLiteral("Group %1|").arg(c);
                line(pc);
                for (int d = 0; d < 4; ++d) {
                    const QString pd = pc + QStringLiteral("Set %1|").arg(d);
                    line(pd);
                    for (int e = 0; e < 4; ++e, ++leaf) {
                        const QString pe = pd + QStringLiteral("Kind %1|").arg(e);
                        line(pe);
                        const int from = terms * leaf / leaves;
                        const int to = terms * (leaf + 1) / leaves;
                        for (int t = from; t < to; ++t)
                            line(pe + QStringLiteral("Term %1|mtp://field=DC.Subject&content=Term %1&scheme=Bench.fld/").arg(t));
                    }
                }
            }
        }
        if (file.write(text) != text.size()) return QString();
        size += text.size();
        text.clear();
    }
    return path;
}

}  // namespace bench
