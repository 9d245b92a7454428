#pragma once

#include <QString>

// The directory of the running executable, without a trailing separator; worked out at each use.
QString ProgramDir();
// Points ProgramDir at another folder (tests); an empty string restores the real one.
void setProgramDirForTests(const QString& dir);
// ProgramDir followed by a relative path written with backslashes ("\BackGround\Opit.jpg").
QString assetPath(const QString& relativePath);
