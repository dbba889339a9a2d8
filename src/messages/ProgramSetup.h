// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What both programs set up before they say anything.
class ProgramSetup {
public:
    // Qt's own dialogs, buttons and help speak Dutch, as the program does.
    // Call once the application object exists.
    static void speakDutch();
    // The person sees only the program's own sentences: Qt's remarks and the
    // image libraries' (libpng's, libtiff's, libjpeg's, under Qt's dummy name
    // "foo") would bury them, in a language the program does not speak.
    // They come through when asked for with QT_LOGGING_RULES.
    static void quietLibraries();
};
