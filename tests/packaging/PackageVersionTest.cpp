// The About window names the version the packages carry.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "toolkit/LinkLabel.h"

namespace {
class PackageVersionTest : public LabTest {};
}  // namespace

TEST_F(PackageVersionTest, AboutWindowShowsThePackagesVersion) {
    createWindows();
    // The third credit line, under the product's name.
    const QList<LinkLabel*>& credits = lab->window<AboutWindow>()->credits;
    ASSERT_GE(credits.size(), 3);
    EXPECT_EQ(credits[2]->text(),
              QStringLiteral("версия %1 для Linux").arg(QStringLiteral(LAB_PACKAGE_VERSION)));
}
