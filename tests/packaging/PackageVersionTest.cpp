// The About window names the version the package carries: the release the metainfo gives a
// software centre, which the package test holds to the package's own version.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "PointerInput.h"
#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "toolkit/LinkLabel.h"

namespace {

// The newest release the metainfo lists (releases come newest first).
QString metainfoRelease() {
    QFile file(QStringLiteral(LAB_PACKAGE_METAINFO));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("release"))
            return xml.attributes().value(QLatin1String("version")).toString();
    return {};
}

class PackageVersionTest : public LabTest {};

}  // namespace

TEST_F(PackageVersionTest, TheAboutWindowShowsTheReleaseThePackageCarries) {
    const QString release = metainfoRelease();
    ASSERT_FALSE(release.isEmpty()) << "no release in " LAB_PACKAGE_METAINFO;

    createWindows();
    lab->window<MainWindow>()->setRegistrationShown(true);
    lab->window<MainWindow>()->showAndActivate();
    // What the student reads in the window opened from the main window's link.
    QStringList shown;
    LabWindow::setModalHook([&](LabWindow& w) {
        AboutWindow* about = lab->window<AboutWindow>();
        if (&w != about) return;
        for (const LinkLabel* line : about->credits)
            if (line->isVisible()) shown << line->text();
        about->close();
    });
    pointer::click(lab->window<MainWindow>()->aboutLink);

    const QRegularExpression edition(QStringLiteral("^версия (\\S+) для Linux$"));
    QStringList versions;
    for (const QString& line : shown)
        if (const QRegularExpressionMatch m = edition.match(line); m.hasMatch())
            versions << m.captured(1);
    EXPECT_EQ(versions, QStringList{release}) << shown.join(QLatin1Char('|')).toStdString();
}
