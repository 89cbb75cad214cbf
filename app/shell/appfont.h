#pragma once

// The program's font folder, relative to the working directory.
inline constexpr char appFontFolder[] = "./Resources/Quindle/fonts/";

// Lets the style sheets' "Microsoft YaHei" find the installed CJK font, and
// makes the program's own "msyh.ttf" at 10 points the application font
// when the font folder holds a usable one; otherwise Qt's default stays.
void setupAppFont();
