#pragma once

// reaktikum --hash-password: the administrator's way to the teacher's password hash. It reads
// the password on standard input (the first line; typed unseen when that is a terminal) and
// prints the line to paste under [Teacher] in the system-wide reaktikum.ini:
//     password_hash=pbkdf2-sha256$ITERATIONS$SALT$HASH
// No window and no display are needed.

// True when the program was started as reaktikum --hash-password.
bool isHashPasswordCall(int argc, char** argv);
// Reads, hashes and prints; 0 on success, 1 when no password was given.
int runHashPassword();
