// The About window names the version the packages carry.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "toolkit/Controls.h"

namespace {
class PackageVersionTest : public LabTest {};
}  // namespace

TEST_F(PackageVersionTest, AboutWindowShowsThePackagesVersion) {
    createWindows();
    EXPECT_EQ(lab->window<AboutWindow>()->editionLabel->text(),
              QStringLiteral("версия %1 для Linux").arg(QStringLiteral(LAB_PACKAGE_VERSION)));
}
