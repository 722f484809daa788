#include "HelpDocument.h"

#include "LogLocation.h"
#include "ToolsResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <optional>

namespace {

std::optional<QUrl>& helpFileOverride() {
    static std::optional<QUrl> url;
    return url;
}

QStringList keywordsOf(const QString& html) {
    static const QRegularExpression meta(
        QStringLiteral(R"re(<meta\s+name\s*=\s*"keywords"\s+content\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList keywords;
    const QRegularExpressionMatch m = meta.match(html);
    if (!m.hasMatch())
        return keywords;
    // Entities such as &amp; are read the way the help window shows them.
    QTextDocument decoder;
    decoder.setHtml(m.captured(1));
    const QStringList parts = decoder.toPlainText().split(u';');
    for (const QString& part : parts) {
        const QString k = part.simplified();
        if (!k.isEmpty())
            keywords << k;
    }
    return keywords;
}

QString titleOf(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.metaInformation(QTextDocument::DocumentTitle).simplified();
}

QUrl urlOfFile(const QString& path) {
    if (path.startsWith(u':'))
        return QUrl(QStringLiteral("qrc") + path);
    return QUrl::fromLocalFile(path);
}

} // namespace

HelpDocument::HelpDocument(const QUrl& contents) : contents_(contents) {
    if (contents.isEmpty())
        return;
    const QString contentsPath = localPath(contents);
    available_ = QFileInfo(contentsPath).isReadable() && QFileInfo(contentsPath).isFile();
    if (!available_)
        return;
    const QDir folder = QFileInfo(contentsPath).dir();
    const QStringList pages =
        folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& page : pages) {
        const QUrl url = urlOfFile(folder.filePath(page));
        const QString html = readPage(url);
        topics_.append({url, titleOf(html), keywordsOf(html)});
    }
}

QString HelpDocument::localPath(const QUrl& url) {
    if (url.scheme() == u"qrc")
        return u':' + url.path();
    return url.toLocalFile();
}

QString HelpDocument::readPage(const QUrl& url) {
    QFile file(localPath(url));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QUrl helpFile() {
    if (helpFileOverride())
        return *helpFileOverride();
    return helpFileOf(QCoreApplication::applicationDirPath());
}

QUrl helpFileOf(const QString& programDir) {
    // The document shipped with the program comes first; the copy compiled into the program
    // stands in when it is missing.
    for (const QString& folder : {programDir, sharedFilesFolder(programDir)}) {
        const QString contents = folder + QStringLiteral("/Help/index.html");
        if (QFile::exists(contents))
            return urlOfFile(contents);
    }
    ensureToolsResources();
    static const QString compiledIn = QStringLiteral(":/help/index.html");
    return QFile::exists(compiledIn) ? urlOfFile(compiledIn) : QUrl();
}

void setHelpFile(const QUrl& contents) {
    helpFileOverride() = contents;
}
