#pragma once

// Tests make a save of the results file fail at a chosen step to see that the old file
// survives. Never used by the program itself.
enum class StudentSaveStep {
    None,
    Open,    // the temporary file cannot be created
    Write,   // the last block is written only half
    Commit,  // everything is written but the file cannot take the results file's name
};

// Every save fails at that step until set back to None (or the table is reset).
void setStudentSaveFaultForTests(StudentSaveStep step);
