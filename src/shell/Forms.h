#pragma once

// The one instance of each window, reachable from every window. Set by the start-up sequence
// as each window is created; nullptr before.
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm10;
class TForm11;
class TForm12;

extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;
extern TForm4* Form4;
extern TForm5* Form5;
extern TForm6* Form6;
extern TForm7* Form7;
extern TForm8* Form8;
extern TForm10* Form10;
extern TForm11* Form11;
extern TForm12* Form12;
