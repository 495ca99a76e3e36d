// The one place where the platform headers are included and adjusted.
// windows.h maps several Win32 names to macros (DeleteFile -> DeleteFileW, ...)
// that collide with the framework's own routines of the same name; we drop
// those macros here, so framework code calls the explicit "W" functions.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

// The numbers of the system's own bitmaps and cursors (OBM_, OCR_), which
// windows.h declares only on request.
#ifndef OEMRESOURCE
#define OEMRESOURCE
#endif

// windows.h must come before every other platform header.
#include <windows.h>

// objbase.h before commctrl.h: the image-list stream functions are declared
// only when IStream already is.
#include <objbase.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleauto.h>
#include <richedit.h>
#include <uxtheme.h>

#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef CreateDirectory
#undef RemoveDirectory
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef MessageBox
#undef FindText
#undef GetObject
#undef DrawText
#undef LoadIcon
#undef LoadCursor
#undef LoadBitmap
#undef LoadImage
#undef CreateWindow
#undef CreateFont
#undef GetClassName
#undef GetClassInfo
#undef SendMessage
#undef PostMessage
#undef DispatchMessage
#undef GetMessage
#undef PeekMessage
#undef FormatMessage
#undef GetUserName
#undef GetComputerName
#undef Yield
#undef CreateEvent
#undef OpenEvent
#undef GetFileAttributes
#undef ExpandEnvironmentStrings
#undef CreateFile
#undef TextOut
#undef ChooseColor
#undef ChooseFont
#undef FindWindow
#undef GetProp
#undef SetProp
#undef RemoveProp
#undef StartDoc
#undef CreateMutex
#undef RegisterClipboardFormat

// WinCompat.cpp defines the MSXML DOM interface identifiers (IID_IXMLDOMNode,
// IID_IXMLDOMDocument, IID_IXMLDOMElement) that MinGW-w64 declares in
// msxml2.h but whose import libraries do not provide.
