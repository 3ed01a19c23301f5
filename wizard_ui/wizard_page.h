// What each page of a wizard shows. Each program has its own table; the page
// window paints from it.
#pragma once

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
    unsigned sidePictureId;  // bitmap resource of the welcome page
};
