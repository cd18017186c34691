#pragma once

#include <QRect>
#include <QSize>

// Where the main window's controls sit for a window of a given size, in twips. At the design size every
// control has its design place; a larger window gives the extra width and height to the subject tree, and
// the controls right of and below it move with its edges. The activity panel keeps its design size: its
// grid and scroll rules are made for it.
struct MainGeometry
{
    QRect lblSelectSubject;
    QRect TreeFolders;
    QRect lblSelectActivity;
    QRect PicActsHolder;
    QRect btnCreateVirtualSubjects;
    QRect btnOpenSubjectsFolder;
    QRect btnChangeUser;
    QRect btnAdmin;
    QRect btnMyProgress; // at the heading's right end, under the message line
    QRect lblURL;
    QRect Picture1;
    int PicMsgWidth = 0; // the message line's height belongs to its roll
    int lblMsgWidth = 0;
    int picMenuHeight = 0; // the menu panel's left belongs to its slide
};

constexpr int MainDesignWidth = 11520;
constexpr int MainDesignHeight = 8880;

// Sizes smaller than the design size are taken as the design size: the window never gets smaller.
MainGeometry mainGeometry(QSize windowTwips, int menuDesignHeight);
