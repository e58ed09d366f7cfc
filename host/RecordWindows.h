// Every window of the stand-in's with a record: the main window ("Contacts")
// first, then the document and card windows a script opens, as today's
// FileMaker opens them. Each record field logs its keys and its commits
// (Ctrl+Enter) under its window's name.
#pragma once

#include <windows.h>

#include <string>

// Today's FileMaker gives card windows a top-level window too; its class is not
// known, so the stand-in's is one Lullex cannot take for a document window.
const char CARD_WINDOW_CLASS[] = "FMHostCardWindow";

// Document windows get the main window's class; logKeys: a line for every key
// a record field receives.
void WatchRecordWindows(const std::string& mainClass, bool logKeys);
void AddMainRecordWindow(HWND main, HWND record);
void ForgetMainRecordWindow(HWND main);
// A document or card window's procedure: what the main window logs, under its own name.
LRESULT CALLBACK DocumentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// A record field's parent hears of each change (WM_COMMAND): the record is then edited.
void NoteEdit(WPARAM wp, LPARAM lp);

// Each document in a top-level window of the main window's class, and card
// windows as top-level windows as well. Each has a record field of its own;
// its lines name the window. Both come to the front.
HWND OpenDocumentWindow(const std::string& name);
HWND OpenCardWindow(const std::string& name);
// The main window is named "Contacts".
HWND RecordWindowNamed(const std::string& name);
HWND RecordFieldOf(HWND window);
// One line: the visible record windows, top first, the foreground one marked.
void LogVisibleWindows();
int CommitCount();
// Get ( RecordOpenState ) of the window in front (else the main window): 2
// while its record is edited and not committed, 0 otherwise.
int RecordOpenState();
// Every record as it was: switching modes leaves what was typed in another.
void ForgetEdits();
