#pragma once

class FileList;
struct Session;

// What the custom subject editor needs of the main program, and no more: the session (its folders and product),
// the main window hidden while the editor is open, its subject tree rebuilt after a change, and the lists of
// installed and virtual subject files.
class CustomSubjectHost
{
public:
    virtual ~CustomSubjectHost() = default;
    virtual const Session& session() const = 0;
    virtual void Hide_Main_Window() = 0;
    virtual void Show_Main_Window() = 0;
    // Rebuilds the main subject tree; the editor asks for it once it has changed a virtual subject file.
    virtual void Refresh_Subjects() = 0;
    virtual FileList& File1() = 0;
    virtual FileList& File2() = 0;
};
