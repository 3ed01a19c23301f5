// What each page of a wizard shows. Each program has its own table; the page
// window paints from it.
#pragma once

#include "wizard_ui/picture_format.h"

enum class PageExtra {
    kNothing,
    kFolderFrame,  // the frame "目标文件夹" around the folder or progress area
    kStatusLine,   // the status text as one line
};

struct WizardPage {
    const char* title;          // null: the welcome page (side picture and text)
    const char* paragraphs[2];  // unused entries are null
    int lineStep;               // pixels between wrapped lines
    int paragraphGap;           // pixels after each paragraph
    PageExtra extra;
};

struct WizardPages {
    const WizardPage* pages;
    int count;
    unsigned sidePictureId;        // picture resource of the welcome page
    unsigned logoPictureId;        // picture resource of the header logo
    PictureDecoder decodePicture;  // how the program stores its pictures
};
