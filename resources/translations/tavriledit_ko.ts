<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name>AccentPadPicture</name>
    <message>
        <source>Accent characters</source>
        <translation>악센트 문자</translation>
    </message>
</context>
<context>
    <name>ContextMenu</name>
    <message>
        <source>Cut</source>
        <translation>잘라내기</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>복사</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>붙여넣기</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>지우기</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>모두 선택</translation>
    </message>
    <message>
        <source>Korea Roma IME</source>
        <translation>한글 로마자 입력</translation>
    </message>
    <message>
        <source>Korea Direct IME</source>
        <translation>한글 직접 입력</translation>
    </message>
    <message>
        <source>nonIME</source>
        <translation>IME 끔</translation>
    </message>
    <message>
        <source>Kanji(Japan) to Hangul(SelectArea)Type1</source>
        <translation>일본 한자→한글(선택 영역) 방식1</translation>
    </message>
    <message>
        <source>Kanji(Japan) to Hangul(SelectArea)Type2</source>
        <translation>일본 한자→한글(선택 영역) 방식2</translation>
    </message>
    <message>
        <source>Hangul to Hanja</source>
        <translation>한자 변환</translation>
    </message>
    <message>
        <source>compose Hangul (NFC)</source>
        <translation>한글 모아쓰기 (NFC)</translation>
    </message>
    <message>
        <source>decompose Hangul (NFD)</source>
        <translation>한글 풀어쓰기 (NFD)</translation>
    </message>
</context>
<context>
    <name>HangulLayout</name>
    <message>
        <source>Dubeolsik</source>
        <translation>두벌식</translation>
    </message>
    <message>
        <source>Dubeolsik (standard)</source>
        <translation>두벌식 (표준)</translation>
    </message>
    <message>
        <source>Sebeolsik 390</source>
        <translation>세벌식 390</translation>
    </message>
    <message>
        <source>Sebeolsik Final</source>
        <translation>세벌식 최종</translation>
    </message>
    <message>
        <source>Sebeolsik Noshift</source>
        <translation>세벌식 순아래</translation>
    </message>
    <message>
        <source>Sebeolsik Dubeol Layout</source>
        <translation>세벌식 두벌 자판</translation>
    </message>
    <message>
        <source>Dubeolsik Yetgeul</source>
        <translation>두벌식 옛글</translation>
    </message>
    <message>
        <source>Sebeolsik Yetgeul</source>
        <translation>세벌식 옛글</translation>
    </message>
    <message>
        <source>Ahnmatae</source>
        <translation>안마태</translation>
    </message>
</context>
<context>
    <name>HanjaCommand</name>
    <message>
        <source>The Hanja dictionary is not installed: %1 was not found.</source>
        <translation>한자 사전이 설치되어 있지 않습니다. %1을(를) 찾을 수 없습니다.</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>오류</translation>
    </message>
    <message>
        <source>The Hanja dictionary %1 could not be read.</source>
        <translation>한자 사전 %1을(를) 읽을 수 없습니다.</translation>
    </message>
</context>
<context>
    <name>HanjaPopup</name>
    <message>
        <source>Hanja candidates</source>
        <translation>한자 후보</translation>
    </message>
    <message>
        <source>Hanja candidate list</source>
        <translation>한자 후보 목록</translation>
    </message>
    <message>
        <source>Number keys 1 to 9 or Enter choose, Escape closes</source>
        <translation>숫자 키 1~9 또는 Enter로 선택, Esc로 닫기</translation>
    </message>
</context>
<context>
    <name>InputOptionsMenu</name>
    <message>
        <source>direct layout</source>
        <translation>직접 입력 자판</translation>
    </message>
    <message>
        <source>auto reorder (moachigi)</source>
        <translation>모아치기 (자동 순서 맞춤)</translation>
    </message>
    <message>
        <source>learn Hanja choices</source>
        <translation>한자 선택 학습</translation>
    </message>
    <message>
        <source>forget Hanja choices</source>
        <translation>학습한 한자 선택 지우기</translation>
    </message>
    <message>
        <source>edit user Hanja dictionary</source>
        <translation>사용자 한자 사전 편집</translation>
    </message>
    <message>
        <source>Forget every learned Hanja choice?</source>
        <translation>학습한 한자 선택을 모두 지우시겠습니까?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>The Hanja choices could not be forgotten: %1 could not be removed.</source>
        <translation>학습한 한자 선택을 지울 수 없습니다. %1을(를) 삭제할 수 없습니다.</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>오류</translation>
    </message>
    <message>
        <source>can&apos;t file open</source>
        <translation>파일을 열 수 없습니다</translation>
    </message>
</context>
<context>
    <name>OpenCommands</name>
    <message>
        <source>Text files(*.txt)</source>
        <translation>텍스트 파일(*.txt)</translation>
    </message>
    <message>
        <source>HTML files(*.html)</source>
        <translation>HTML 파일(*.html)</translation>
    </message>
    <message>
        <source>All(*.*)</source>
        <translation>모든 파일(*.*)</translation>
    </message>
    <message>
        <source> (%1 unreadable)</source>
        <translation> (읽을 수 없는 코드 %1개)</translation>
    </message>
    <message>
        <source>Open a Text file</source>
        <translation>텍스트 파일 열기</translation>
    </message>
    <message>
        <source>can&apos;t file read</source>
        <translation>파일을 읽을 수 없습니다</translation>
    </message>
    <message>
        <source>can&apos;t file open</source>
        <translation>파일을 열 수 없습니다</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>오류</translation>
    </message>
    <message>
        <source>Insert a Text file</source>
        <translation>텍스트 파일 삽입</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Unsaved changes to this file were kept when the editor last ended without saving. Recover them?</source>
        <translation>편집기가 지난번에 저장하지 않고 끝났을 때 이 파일의 저장하지 않은 변경 내용이 보관되었습니다. 복구하시겠습니까?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Unsaved changes to this file were kept when the editor last ended without saving, but the file has changed since. Open the kept text instead?</source>
        <translation>편집기가 지난번에 저장하지 않고 끝났을 때 이 파일의 저장하지 않은 변경 내용이 보관되었지만, 그 뒤 파일이 바뀌었습니다. 대신 보관된 텍스트를 여시겠습니까?</translation>
    </message>
    <message>
        <source>Unsaved changes kept for this file could not be applied because the file has changed. They are kept in %1.</source>
        <translation>파일이 바뀌어서 이 파일에 보관된 저장하지 않은 변경 내용을 적용할 수 없습니다. 변경 내용은 %1에 보관되어 있습니다.</translation>
    </message>
    <message>
        <source>information</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>Unsaved text was kept when the editor last ended without saving. Recover it?</source>
        <translation>편집기가 지난번에 저장하지 않고 끝났을 때 저장하지 않은 텍스트가 보관되었습니다. 복구하시겠습니까?</translation>
    </message>
    <message>
        <source>The file was changed by another program. Reload it and lose your changes?</source>
        <translation>다른 프로그램이 파일을 바꾸었습니다. 변경 내용을 버리고 다시 불러오시겠습니까?</translation>
    </message>
    <message>
        <source>The file was changed by another program. Reload it?</source>
        <translation>다른 프로그램이 파일을 바꾸었습니다. 다시 불러오시겠습니까?</translation>
    </message>
</context>
<context>
    <name>SaveCommands</name>
    <message>
        <source>Save a Text file</source>
        <translation>텍스트 파일 저장</translation>
    </message>
    <message>
        <source>Text files(*.txt)</source>
        <translation>텍스트 파일(*.txt)</translation>
    </message>
    <message>
        <source>HTML files(*.html)</source>
        <translation>HTML 파일(*.html)</translation>
    </message>
    <message>
        <source>All(*.*)</source>
        <translation>모든 파일(*.*)</translation>
    </message>
    <message>
        <source>Save Unicode number HTML &amp;#99;tag file</source>
        <translation>유니코드 번호 HTML &amp;#99; 태그 파일 저장</translation>
    </message>
    <message>
        <source>Save Unicode number language C 0x* file</source>
        <translation>유니코드 번호 C 언어 0x* 파일 저장</translation>
    </message>
    <message>
        <source>Some codes of this file could not be read. Over write it?</source>
        <translation>이 파일에는 읽을 수 없었던 코드가 있습니다. 덮어쓰시겠습니까?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>can&apos;t file open</source>
        <translation>파일을 열 수 없습니다</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>오류</translation>
    </message>
    <message>
        <source>can&apos;t file write</source>
        <translation>파일을 쓸 수 없습니다</translation>
    </message>
    <message>
        <source>Save file?</source>
        <translation>파일을 저장하시겠습니까?</translation>
    </message>
    <message>
        <source>U+%1 at line %2, column %3.</source>
        <translation>%2줄 %3열의 U+%1입니다.</translation>
    </message>
    <message>
        <source>1 character cannot be written in %1: %2</source>
        <translation>%1(으)로 쓸 수 없는 문자가 1개 있습니다: %2</translation>
    </message>
    <message>
        <source>%1 characters cannot be written in %2; the first is %3</source>
        <translation>%2(으)로 쓸 수 없는 문자가 %1개 있습니다. 첫 번째는 %3</translation>
    </message>
    <message>
        <source>The file was changed by another program after it was opened. Over write it?</source>
        <translation>파일을 연 뒤 다른 프로그램이 파일을 바꾸었습니다. 덮어쓰시겠습니까?</translation>
    </message>
</context>
<context>
    <name>ScreenKeyboard</name>
    <message>
        <source>decide</source>
        <translation>확정</translation>
    </message>
</context>
<context>
    <name>ScreenKeyboardPicture</name>
    <message>
        <source>Hangul keyboard</source>
        <translation>한글 키보드</translation>
    </message>
</context>
<context>
    <name>Shortcuts</name>
    <message>
        <source>ショートカット作成失敗</source>
        <translation>바로 가기를 만들지 못했습니다</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>Line:%1  Col:%2</source>
        <translation>줄:%1  열:%2</translation>
    </message>
    <message>
        <source>WrapLine</source>
        <translation>줄 바꿈</translation>
    </message>
    <message>
        <source>noWrapLine</source>
        <translation>줄 바꿈 없음</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Exit OK?</source>
        <translation>끝내시겠습니까?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Tavril Korean Editor Ver 0.8(Built-in Korean IME Romanized/Direct)</source>
        <translation>Tavril 한국어 편집기 Ver 0.8(한글 입력기 내장 로마자/직접)</translation>
    </message>
    <message>
        <source>wait please. Reading now.</source>
        <translation>잠시 기다려 주십시오. 읽는 중입니다.</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>문서</translation>
    </message>
    <message>
        <source>Status bar</source>
        <translation>상태 표시줄</translation>
    </message>
    <message>
        <source>Wrap Line off(toggle)</source>
        <translation>자동 줄 바꿈 끄기(전환)</translation>
    </message>
    <message>
        <source>Wrap Line on(toggle)</source>
        <translation>자동 줄 바꿈 켜기(전환)</translation>
    </message>
    <message>
        <source>Clear OK?</source>
        <translation>모두 지우시겠습니까?</translation>
    </message>
    <message>
        <source>file</source>
        <translation>파일</translation>
    </message>
    <message>
        <source>open text file(UTF-8,UTF16,SJIS,EUC)</source>
        <translation>텍스트 파일 열기(UTF-8,UTF16,SJIS,EUC)</translation>
    </message>
    <message>
        <source>insert text file(UTF-8,UTF16,SJIS,EUC)</source>
        <translation>텍스트 파일 삽입(UTF-8,UTF16,SJIS,EUC)</translation>
    </message>
    <message>
        <source>reopen with encoding</source>
        <translation>인코딩을 지정하여 다시 열기</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>자동</translation>
    </message>
    <message>
        <source>Read the file again, its encoding detected</source>
        <translation>인코딩을 자동으로 판별하여 파일을 다시 읽습니다</translation>
    </message>
    <message>
        <source>Read the file again as %1</source>
        <translation>파일을 %1(으)로 다시 읽습니다</translation>
    </message>
    <message>
        <source>save file(UTF-8)</source>
        <translation>다른 이름으로 저장(UTF-8)</translation>
    </message>
    <message>
        <source>over write save file(UTF-8)</source>
        <translation>덮어쓰기 저장(UTF-8)</translation>
    </message>
    <message>
        <source>save Unicode number HTML &amp;&amp;#99;tag(ASCII)</source>
        <translation>유니코드 번호를 HTML &amp;&amp;#99; 태그로 저장(ASCII)</translation>
    </message>
    <message>
        <source>save Unicode number language C 0x*(ASCII)</source>
        <translation>유니코드 번호를 C 언어 0x* 형식으로 저장(ASCII)</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>끝내기</translation>
    </message>
    <message>
        <source>edit</source>
        <translation>편집</translation>
    </message>
    <message>
        <source>find</source>
        <translation>찾기</translation>
    </message>
    <message>
        <source>Screen keyboard</source>
        <translation>화상 키보드</translation>
    </message>
    <message>
        <source>Accent PAD</source>
        <translation>악센트 패드</translation>
    </message>
    <message>
        <source>change font</source>
        <translation>글꼴 바꾸기</translation>
    </message>
    <message>
        <source>create Shortcut in Program menu</source>
        <translation>프로그램 메뉴에 바로 가기 만들기</translation>
    </message>
    <message>
        <source>create Shortcut in Desktop menu</source>
        <translation>바탕 화면에 바로 가기 만들기</translation>
    </message>
    <message>
        <source>KoreaRomaIME</source>
        <translation>한글(로마자)</translation>
    </message>
    <message>
        <source>KoreaDirectIME</source>
        <translation>한글(직접)</translation>
    </message>
    <message>
        <source>nonIME</source>
        <translation>IME 끔</translation>
    </message>
    <message>
        <source>IME</source>
        <translation>입력기</translation>
    </message>
    <message>
        <source>Korean Romanized input built-in IME</source>
        <translation>한글 로마자 입력(내장 입력기)</translation>
    </message>
    <message>
        <source>Korean Direct input built-in IME</source>
        <translation>한글 직접 입력(내장 입력기)</translation>
    </message>
    <message>
        <source>don&apos;t use built-in IME</source>
        <translation>내장 입력기 사용 안 함</translation>
    </message>
    <message>
        <source>Hangul to Hanja</source>
        <translation>한자 변환</translation>
    </message>
    <message>
        <source>help</source>
        <translation>도움말</translation>
    </message>
    <message>
        <source>keymap</source>
        <translation>키 배열</translation>
    </message>
    <message>
        <source>Jump to Official web site</source>
        <translation>공식 웹 사이트로 이동</translation>
    </message>
    <message>
        <source>Jump to TavrilJisho web site(Japanese)</source>
        <translation>TavrilJisho 웹 사이트로 이동(일본어)</translation>
    </message>
    <message>
        <source>copyright</source>
        <translation>저작권 정보</translation>
    </message>
    <message>
        <source>save with encoding</source>
        <translation>인코딩을 지정하여 저장</translation>
    </message>
    <message>
        <source>Save the document as %1</source>
        <translation>문서를 %1(으)로 저장합니다</translation>
    </message>
    <message>
        <source>compose Hangul (NFC)</source>
        <translation>한글 모아쓰기 (NFC)</translation>
    </message>
    <message>
        <source>decompose Hangul (NFD)</source>
        <translation>한글 풀어쓰기 (NFD)</translation>
    </message>
    <message>
        <source>Compose the decomposed Hangul of the selection, or of the whole text, into syllables</source>
        <translation>선택 영역(없으면 전체 텍스트)의 풀어쓴 한글을 음절로 모아씁니다</translation>
    </message>
    <message>
        <source>Decompose the Hangul syllables of the selection, or of the whole text, into jamo</source>
        <translation>선택 영역(없으면 전체 텍스트)의 한글 음절을 자모로 풀어씁니다</translation>
    </message>
</context>
<context>
    <name>Taccent2form</name>
    <message>
        <source>Accent PAD</source>
        <translation>악센트 패드</translation>
    </message>
</context>
<context>
    <name>Taccentform</name>
    <message>
        <source>Accent PAD</source>
        <translation>악센트 패드</translation>
    </message>
</context>
<context>
    <name>Tcopyrightform</name>
    <message>
        <source>copyright</source>
        <translation>저작권 정보</translation>
    </message>
    <message>
        <source>Tavril Korean Text Editor Ver 0.8</source>
        <translation>Tavril 한국어 텍스트 편집기 Ver 0.8</translation>
    </message>
    <message>
        <source>Contact: support@tavril.example</source>
        <translation>연락처: support@tavril.example</translation>
    </message>
    <message>
        <source>Web: %1</source>
        <translation>웹 사이트: %1</translation>
    </message>
</context>
<context>
    <name>Texitform</name>
    <message>
        <source>Confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Exit</source>
        <translation>저장 후 끝내기</translation>
    </message>
    <message>
        <source>No Save &amp;&amp; Exit</source>
        <translation>저장하지 않고 끝내기</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
</context>
<context>
    <name>Thangulskbform</name>
    <message>
        <source>Hangul Screen keyboard(key click)</source>
        <translation>한글 화상 키보드(키 클릭)</translation>
    </message>
</context>
<context>
    <name>Thelpform</name>
    <message>
        <source>(toggle)</source>
        <translation>(전환)</translation>
    </message>
    <message>
        <source>Korean Hangul Romanized input keymap</source>
        <translation>한글 로마자 입력 키 배열</translation>
    </message>
    <message>
        <source>space key=decide</source>
        <translation>스페이스 키=확정</translation>
    </message>
    <message>
        <source>Hangul Romanized Input keymap</source>
        <translation>한글 로마자 입력 키 배열</translation>
    </message>
    <message>
        <source>Keymap help</source>
        <translation>키 배열 도움말</translation>
    </message>
</context>
<context>
    <name>Tsearchform</name>
    <message>
        <source>KoreaRomaIME</source>
        <translation>한글(로마자)</translation>
    </message>
    <message>
        <source>KoreaDirectIME</source>
        <translation>한글(직접)</translation>
    </message>
    <message>
        <source>nonIME</source>
        <translation>IME 끔</translation>
    </message>
    <message>
        <source>find (search)</source>
        <translation>찾기</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>찾을 내용</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>찾기</translation>
    </message>
    <message>
        <source>Sorry. auto change to noWrapLine mode.</source>
        <translation>죄송합니다. 줄 바꿈 없음 모드로 자동 전환합니다.</translation>
    </message>
</context>
</TS>
