#pragma once

class FileList;

// What the custom subject editor needs of the main program, and no more: the main window hidden while the
// editor is open, its subject tree rebuilt after a change, and the lists of installed and virtual subject
// files.
class CustomSubjectHost
{
public:
    virtual ~CustomSubjectHost() = default;
    virtual void Hide_Main_Window() = 0;
    virtual void Show_Main_Window() = 0;
    // Rebuilds the main subject tree and clears VirtualSubjectsChanged.
    virtual void Refresh_Subjects() = 0;
    virtual FileList& File1() = 0;
    virtual FileList& File2() = 0;
};
