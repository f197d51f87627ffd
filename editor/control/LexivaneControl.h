#pragma once
// The `Lexivane` control: one COM object holding the properties, the edit window and the spell
// engine of one instance. Its members are spread over files by concern (properties, selection
// format, methods, OLE embedding, persistence, windows, layout, events).

#include "ComPtr.h"
#include "ControlSettings.h"
#include "EventSource.h"
#include "UlvaneLexivane.h"

#include "ChangeList.h"
#include "SpellEngine.h"
#include "WordListStore.h"

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>
#include <richedit.h>
#include <richole.h>
#include <tom.h>

#include <string>
#include <vector>

namespace lexivane::control {



// The thread's message hook that hands the edit window its keys before the host's accelerators
// and dialog navigation see them; one per thread, shared by its controls.
void InstallKeyHook();
void RemoveKeyHook();
// The face, size and effects of an OLE font as a character format (mask left to the caller).
void FontToCharFormat(IFont* font, CHARFORMAT2W& format);

class LexivaneControl final : public _Lexivane,
                              public IOleObject,
                              public IOleInPlaceObject,
                              public IOleInPlaceActiveObject,
                              public IOleControl,
                              public IViewObject2,
                              public IPersistPropertyBag,
                              public IPersistStreamInit,
                              public IProvideClassInfo2,
                              public IConnectionPointContainer,
                              public IObjectSafety,
                              public ISupportErrorInfo,
                              public SpellHost {
 public:
  LexivaneControl();
  LexivaneControl(const LexivaneControl&) = delete;
  LexivaneControl& operator=(const LexivaneControl&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch, through the type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argError) override;

  // _Lexivane
  HRESULT STDMETHODCALLTYPE get_CustomDictionaryFileName(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_CustomDictionaryFileName(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_IgnoreAllCaps(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_IgnoreAllCaps(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IgnoreWithNumbers(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_IgnoreWithNumbers(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IgnoreInternetAddrs(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_IgnoreInternetAddrs(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AutoHandleErrors(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_AutoHandleErrors(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_SuggestCorrections(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_SuggestCorrections(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_CheckOnFocusLoss(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_CheckOnFocusLoss(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_DoneAction(::eDoneAction *value) override;
  HRESULT STDMETHODCALLTYPE put_DoneAction(::eDoneAction value) override;
  HRESULT STDMETHODCALLTYPE get_AllowCancel(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_AllowCancel(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AllowAddToCustom(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_AllowAddToCustom(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_PassiveCheckColor(OLE_COLOR *value) override;
  HRESULT STDMETHODCALLTYPE put_PassiveCheckColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_PassiveChecking(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_PassiveChecking(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ReadOnly(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ReadOnly(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShowToolBar(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ShowToolBar(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShowRuler(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ShowRuler(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShowStatusBar(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ShowStatusBar(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShowFontBar(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ShowFontBar(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShowFileToolButtons(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ShowFileToolButtons(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_StatusBarCaption(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_StatusBarCaption(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_StatusBarDisplayItems(eStatusBarItems *value) override;
  HRESULT STDMETHODCALLTYPE put_StatusBarDisplayItems(eStatusBarItems value) override;
  HRESULT STDMETHODCALLTYPE get_BorderStyle(eBorderStyles *value) override;
  HRESULT STDMETHODCALLTYPE put_BorderStyle(eBorderStyles value) override;
  HRESULT STDMETHODCALLTYPE get_AutoHandleURLs(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_AutoHandleURLs(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_DragDropBehavior(eDragDropBehaviorTypes *value) override;
  HRESULT STDMETHODCALLTYPE put_DragDropBehavior(eDragDropBehaviorTypes value) override;
  HRESULT STDMETHODCALLTYPE get_HideSelection(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_HideSelection(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_FlatToolbars(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_FlatToolbars(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AllowTabChar(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_AllowTabChar(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AllowReturnChar(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_AllowReturnChar(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp **value) override;
  HRESULT STDMETHODCALLTYPE put_Font(IFontDisp *value) override;
  HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp *value) override;
  HRESULT STDMETHODCALLTYPE get_Text(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_Text(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR *value) override;
  HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_FileName(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_FileName(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_MaxLength(LONG *value) override;
  HRESULT STDMETHODCALLTYPE put_MaxLength(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_MouseIcon(IPictureDisp **value) override;
  HRESULT STDMETHODCALLTYPE put_MouseIcon(IPictureDisp *value) override;
  HRESULT STDMETHODCALLTYPE putref_MouseIcon(IPictureDisp *value) override;
  HRESULT STDMETHODCALLTYPE get_MousePointer(LONG *value) override;
  HRESULT STDMETHODCALLTYPE put_MousePointer(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_SelBold(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelBold(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelItalic(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelItalic(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelUnderline(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelUnderline(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelStrikethru(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelStrikethru(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelProtected(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelProtected(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelFontName(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelFontName(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelFontSize(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelFontSize(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelColor(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelColor(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelBackColor(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelBackColor(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelCharOffset(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelCharOffset(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelAlignment(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelAlignment(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelBullet(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_SelBullet(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_SelIndent(LONG *value) override;
  HRESULT STDMETHODCALLTYPE put_SelIndent(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_SelHangingIndent(LONG *value) override;
  HRESULT STDMETHODCALLTYPE put_SelHangingIndent(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_SelRightIndent(LONG *value) override;
  HRESULT STDMETHODCALLTYPE put_SelRightIndent(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_SelNumberingStyle(LONG *value) override;
  HRESULT STDMETHODCALLTYPE put_SelNumberingStyle(LONG value) override;
  HRESULT STDMETHODCALLTYPE get_SelText(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_SelText(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_SelectedText(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_SelectedText(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_SelTextRTF(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_SelTextRTF(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_SelectedTextRTF(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_SelectedTextRTF(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_SelTextHTML(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_SelTextHTML(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_SelectedTextHTML(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_SelectedTextHTML(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_TextRTF(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_TextRTF(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_TextRTFMemo(VARIANT *value) override;
  HRESULT STDMETHODCALLTYPE put_TextRTFMemo(VARIANT value) override;
  HRESULT STDMETHODCALLTYPE get_TextHTML(BSTR *value) override;
  HRESULT STDMETHODCALLTYPE put_TextHTML(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_Modified(VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_Modified(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_hWnd(LONG *value) override;
  HRESULT STDMETHODCALLTYPE get_OLEObjectCount(LONG *value) override;
  HRESULT STDMETHODCALLTYPE get_ToolButtonVisible(BSTR sName, VARIANT_BOOL *value) override;
  HRESULT STDMETHODCALLTYPE put_ToolButtonVisible(BSTR sName, VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE ShowTheCaret() override;
  HRESULT STDMETHODCALLTYPE HideTheCaret() override;
  HRESULT STDMETHODCALLTYPE MoveCaretToEnd() override;
  HRESULT STDMETHODCALLTYPE MoveCaretToStart() override;
  HRESULT STDMETHODCALLTYPE SelectNone() override;
  HRESULT STDMETHODCALLTYPE SelectAll() override;
  HRESULT STDMETHODCALLTYPE GetSelection(LONG *nStart, LONG *nEnd) override;
  HRESULT STDMETHODCALLTYPE SetSelection(LONG nStart, LONG nEnd) override;
  HRESULT STDMETHODCALLTYPE ExpandSelection(eDocumentUnits eHowMuch) override;
  HRESULT STDMETHODCALLTYPE SetZoomLevel(LONG nRatioNumerator, LONG nRatioDenominator) override;
  HRESULT STDMETHODCALLTYPE GetZoomLevel(LONG *nRatioNumerator, LONG *nRatioDenominator) override;
  HRESULT STDMETHODCALLTYPE ClearUndoBuffer() override;
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE SetFocusToMe() override;
  HRESULT STDMETHODCALLTYPE ShowAboutBox() override;
  HRESULT STDMETHODCALLTYPE InsertPageBreak() override;
  HRESULT STDMETHODCALLTYPE CheckSpellingNow() override;
  HRESULT STDMETHODCALLTYPE CheckString(BSTR *sToCheck) override;
  HRESULT STDMETHODCALLTYPE AddWordsToCustom(BSTR sNewWords) override;
  HRESULT STDMETHODCALLTYPE IgnoreAll(BSTR sToIgnore) override;
  HRESULT STDMETHODCALLTYPE RemoveWordsFromDictionary(BSTR sWords) override;
  HRESULT STDMETHODCALLTYPE ClearBaseDictionary() override;
  HRESULT STDMETHODCALLTYPE ClearCustomDictionary() override;
  HRESULT STDMETHODCALLTYPE ClearIgnoreList() override;
  HRESULT STDMETHODCALLTYPE LoadCustomDictionary(BSTR sFileName, VARIANT_BOOL bAppendToExisting = 0) override;
  HRESULT STDMETHODCALLTYPE SaveCustomDictionary(BSTR sFileName) override;
  HRESULT STDMETHODCALLTYPE Find(BSTR sWhatToFind, LONG nStart, LONG nEnd, VARIANT_BOOL bWholeWord, VARIANT_BOOL bMatchCase, VARIANT_BOOL bMatchPattern, VARIANT_BOOL bSelectWhenFound, VARIANT_BOOL *found) override;
  HRESULT STDMETHODCALLTYPE ReplaceAll(BSTR sWhatToFind, BSTR sChangeTo, LONG nStart, LONG nEnd, VARIANT_BOOL bWholeWord, VARIANT_BOOL bMatchCase, VARIANT_BOOL bMatchPattern, LONG *replaced) override;
  HRESULT STDMETHODCALLTYPE SaveDocument(BSTR sFName) override;
  HRESULT STDMETHODCALLTYPE OpenDocument(BSTR sFName) override;
  HRESULT STDMETHODCALLTYPE CallToolButton(BSTR sButtonName) override;
  HRESULT STDMETHODCALLTYPE AddCustomToolbutton(BSTR sName, BSTR sToolTip, IPictureDisp *picButtonImage) override;
  HRESULT STDMETHODCALLTYPE AddCustomToolbuttonFname(BSTR sName, BSTR sToolTip, BSTR sPictureFName) override;
  HRESULT STDMETHODCALLTYPE GetSelectedFontAttributes(eSelectionAttribute *eBold, eSelectionAttribute *eItalic, eSelectionAttribute *eUnderline, eSelectionAttribute *eStrikeThru, eSelectionAttribute *eSubscript, eSelectionAttribute *eSuperscript, eSelectionAttribute *eProtected, BSTR *sFontName, BSTR *sFontSize, OLE_COLOR *colorText, OLE_COLOR *colorBack) override;
  HRESULT STDMETHODCALLTYPE SetSelectedFontAttributes(VARIANT bBold, VARIANT bItalic, VARIANT bUnderline, VARIANT bStrikeThru, VARIANT bSubscript, VARIANT bSuperscript, VARIANT bProtected, VARIANT sFontName, VARIANT sFontSize, VARIANT colorText, VARIANT colorBack) override;
  HRESULT STDMETHODCALLTYPE GetSelectedParagraphAttributes(eSelectionAttribute *eBullet, eAlignmentAttribute *eAlignment, eSpacingAttribute *eSpacing, LONG *nFirstLineIndent, LONG *nFollowingLinesIndentOffset, LONG *nRightIndent, BSTR *sTabSettings) override;
  HRESULT STDMETHODCALLTYPE SetSelectedParagraphAttributes(VARIANT bBullet, VARIANT eAlignment, VARIANT eSpacing, VARIANT nFirstLineIndent, VARIANT nFollowingLinesIndentOffset, VARIANT nRightIndent, VARIANT bSetIndents, VARIANT sTabSettings) override;
  HRESULT STDMETHODCALLTYPE SelectionIntoLink(VARIANT bBold, VARIANT colorFore, VARIANT colorBack, VARIANT bUndoConversion) override;
  HRESULT STDMETHODCALLTYPE OLEObject(LONG nWhichObject, IDispatch **object) override;
  HRESULT STDMETHODCALLTYPE OLEObjectInsert(VARIANT CharPos, VARIANT ProgID, VARIANT File, VARIANT Activate, VARIANT InitialAspect) override;
  HRESULT STDMETHODCALLTYPE OLEObjectRemove(LONG nWhichObject) override;
  HRESULT STDMETHODCALLTYPE ShowPageSetup() override;
  HRESULT STDMETHODCALLTYPE ShowPrintPreview() override;
  HRESULT STDMETHODCALLTYPE ShowPrintDialog() override;
  HRESULT STDMETHODCALLTYPE PrintSelection(LONG hDC, VARIANT_BOOL bCompleteDocument = -1) override;
  HRESULT STDMETHODCALLTYPE SetPrintMarginsInTwips(LONG nLeftMargin, LONG nRightMargin, LONG nTopMargin, LONG nBottomMargin) override;
  HRESULT STDMETHODCALLTYPE GetPrintMarginsInTwips(LONG *nLeftMargin, LONG *nRightMargin, LONG *nTopMargin, LONG *nBottomMargin) override;
  HRESULT STDMETHODCALLTYPE SetPrintHeadersAndFooters(BSTR sFirstPageHeader, BSTR sFirstPageFooter, BSTR sRemainingPagesHeader, BSTR sRemainingPagesFooter, BSTR sHeaderFontName, LONG nHeaderFontSizeInPoints, BSTR sFooterFontName, LONG nFooterFontSizeInPoints) override;
  HRESULT STDMETHODCALLTYPE SetPrintHeadersAndFootersStyle(VARIANT_BOOL bBoldHeader, VARIANT_BOOL bItalicHeader, VARIANT_BOOL bBoldFooter, VARIANT_BOOL bItalicFooter) override;
  HRESULT STDMETHODCALLTYPE AddAutoTypePair(BSTR sKeyPhrase, BSTR sReplacement) override;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                   LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                                 HDC drawDc, LPCRECTL bounds, LPCRECTL wBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                                 ULONG_PTR contArg) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                                        LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // IPersist, IPersistPropertyBag, IPersistStreamInit
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // IObjectSafety
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

  // SpellHost: what the engine asks of the control.
  Decision RunCorrectionDialog(const CorrectionRequest& request, DialogPosition& position) override;
  void RaiseSpellingError(std::string& badWord, std::string_view suggestions, int32_t offsetOfWord,
                          int32_t& whatToDo) override;
  void RaiseSpellCheckDone() override;
  void ShowMessageBox(std::string_view text, std::string_view title) override;
  void PumpMessages() override;
  std::string DocumentText() override;
  void GetSelection(int64_t& start, int64_t& end) override;
  void SelectRange(int64_t start, int64_t end) override;
  void ReplaceSelection(std::string_view text) override;

  // Window procedures and the thread hook reach the instance through these.
  LRESULT ControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT EditWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // True when the queued key message was handed to the edit window and must be dropped.
  bool RouteQueuedKey(MSG& msg);
  HWND EditWindow() const { return edit_; }
  HWND ControlWindow() const { return window_; }

 private:
  ~LexivaneControl();

  // Life cycle.
  void DetermineDesignMode();
  void DetermineWebPage();
  void StartRunTime();
  void EndInstance();
  bool InPlaceActivate(LONG verb);
  void CreateControlWindow(HWND parent, const RECT& position);

  // The edit window (CreateRTBox and DestroyRTBox).
  void CreateRTBox();
  void DestroyRTBox();
  void ApplyDefaultCharFormat();
  void SendBackColor();

  // Layout and painting.
  void DrawControl();
  void LayoutStatusBar(int width, int height, int statusHeight);
  void PaintControl(HDC dc);
  void PaintDesignerPicture(HDC dc, const RECT& bounds);
  void PaintStatusBar(HDC dc);
  void RefreshKeyStates();
  void RefreshStatusTimes();
  int StatusBarHeight() const;

  // Messages of the control window.
  void OnEditCommand(WORD code);
  LRESULT OnEditNotify(NMHDR* header);
  LRESULT OnMessageFilter(MSGFILTER* filter);
  bool HandleShortcut(WPARAM key);
  LRESULT OnProtected(ENPROTECTED* info);
  void OnLink(ENLINK* link);
  void ToggleEffect(DWORD mask, DWORD effect);
  void MoveFocusToContainer();
  // The cursor of `MousePointer` (the `MouseIcon` for 99); false when the pointer is the default.
  bool ApplyPointerCursor();
  short ShiftState() const;
  short ButtonState() const;
  void MouseEventPosition(LPARAM lParam, float& x, float& y) const;
  bool FocusLeftControl() const;

  // Events; arguments a handler changes by reference are read back where they decide something.
  void RaiseEvent(DISPID id);
  void RaiseKeyEvent(DISPID id, short keyCode, short shift);
  void RaiseKeyPress(short keyAscii);
  void RaiseMouseEvent(DISPID id, short button, short shift, float x, float y);
  bool RaiseProtectedTextChange(LONG start, LONG end);
  bool RaiseLinkClicked(const std::wstring& link, LONG start);
  void CheckAfterFocusLoss();

  // Text of the edit window.
  std::wstring PlainText() const;
  std::wstring TextRange(LONG start, LONG end) const;
  void SetPlainText(std::wstring_view text);
  std::string StreamOut(UINT format) const;
  void StreamIn(std::string_view data, UINT format, bool selectionOnly);
  void SetSelectionRange(LONG start, LONG end);
  // Lifts read-only around the control's own writes.
  class WriteGuard;

  // Character and paragraph format of the selection.
  HRESULT GetEffect(DWORD mask, DWORD effect, VARIANT* value);
  HRESULT PutEffect(DWORD mask, DWORD effect, const VARIANT& value);
  HRESULT PutCharFormat(const CHARFORMAT2W& format);
  bool ReadCharFormat(CHARFORMAT2W& format) const;
  bool ReadParaFormat(PARAFORMAT2& format) const;
  void WriteParaFormat(const PARAFORMAT2& format);
  HRESULT GetParaIndent(LONG PARAFORMAT2::*field, DWORD mask, LONG* value);
  HRESULT PutParaIndent(LONG PARAFORMAT2::*field, DWORD mask, LONG value);

  // Properties.
  bool DesignModeString(VARIANT* value) const;
  bool DesignModeString(BSTR* value) const;
  void PropertyChanged(DISPID id);
  void SetLayoutFlag(bool& flag, VARIANT_BOOL value, DISPID id);
  void ApplyFontToDocument();
  void RefreshFontFromDocument();
  void ApplyMaxLength();
  void ApplyReadOnly();
  ComPtr<IFontDisp> AmbientFont() const;
  std::wstring AmbientDisplayName() const;
  bool AmbientBool(DISPID id, bool& value) const;
  bool ContainerAllowsChange(DISPID id);
  void ResetToInitialValues();
  void SyncSpellOptions();
  void LoadSettingsFrom(IPropertyBag* bag);
  void SaveSettingsTo(IPropertyBag* bag) const;
  void AfterLoad(bool fromSavedState);

  LONG refs_ = 1;
  ControlSettings settings_;
  SpellEngine engine_;
  EventSource events_{*this};
  ComPtr<IOleClientSite> site_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IAdviseSink> viewAdvise_;
  ComPtr<IOleAdviseHolder> oleAdvise_;
  ComPtr<IFontDisp> font_;
  ComPtr<IPictureDisp> mouseIcon_;
  ComPtr<IRichEditOle> richOle_;
  ComPtr<ITextDocument> document_;
  SIZEL extent_{8467, 4233};  // HIMETRIC: 320 x 160 pixels
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  WNDPROC editOldProc_ = nullptr;
  HMODULE richEditLibrary_ = nullptr;
  RECT layout_{};
  bool hasLayout_ = false;
  bool designMode_ = true;
  bool webPage_ = false;
  bool runTimeStarted_ = false;
  bool inPlaceActive_ = false;
  bool drawing_ = false;
  bool painting_ = false;
  bool allowProtectedChange_ = false;
  bool dirty_ = false;
  bool frozenEvents_ = false;
  int internalUpdate_ = 0;
  DialogPosition correctPosition_;
  StatusBarItems status_;
  int layoutCount_ = 0;
  bool focusInside_ = false;
};

}  // namespace lexivane::control
