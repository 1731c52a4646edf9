<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>AccentPadPicture</name>
    <message>
        <source>Accent characters</source>
        <translation>アクセント文字</translation>
    </message>
</context>
<context>
    <name>ContextMenu</name>
    <message>
        <source>Cut</source>
        <translation>切り取り</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼り付け</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>消去</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>すべて選択</translation>
    </message>
    <message>
        <source>Korea Roma IME</source>
        <translation>ハングル ローマ字入力</translation>
    </message>
    <message>
        <source>Korea Direct IME</source>
        <translation>ハングル直接入力</translation>
    </message>
    <message>
        <source>nonIME</source>
        <translation>IMEオフ</translation>
    </message>
    <message>
        <source>Kanji(Japan) to Hangul(SelectArea)Type1</source>
        <translation>漢字(日本)→ハングル(選択範囲) タイプ1</translation>
    </message>
    <message>
        <source>Kanji(Japan) to Hangul(SelectArea)Type2</source>
        <translation>漢字(日本)→ハングル(選択範囲) タイプ2</translation>
    </message>
    <message>
        <source>Hangul to Hanja</source>
        <translation>ハングル→漢字変換</translation>
    </message>
    <message>
        <source>compose Hangul (NFC)</source>
        <translation>ハングルを合成 (NFC)</translation>
    </message>
    <message>
        <source>decompose Hangul (NFD)</source>
        <translation>ハングルを分解 (NFD)</translation>
    </message>
</context>
<context>
    <name>HangulLayout</name>
    <message>
        <source>Dubeolsik</source>
        <translation>2ボル式</translation>
    </message>
    <message>
        <source>Dubeolsik (standard)</source>
        <translation>2ボル式 (標準)</translation>
    </message>
    <message>
        <source>Sebeolsik 390</source>
        <translation>3ボル式 390</translation>
    </message>
    <message>
        <source>Sebeolsik Final</source>
        <translation>3ボル式 最終</translation>
    </message>
    <message>
        <source>Sebeolsik Noshift</source>
        <translation>3ボル式 シフトなし</translation>
    </message>
    <message>
        <source>Sebeolsik Dubeol Layout</source>
        <translation>3ボル式 2ボル配列</translation>
    </message>
    <message>
        <source>Dubeolsik Yetgeul</source>
        <translation>2ボル式 古ハングル</translation>
    </message>
    <message>
        <source>Sebeolsik Yetgeul</source>
        <translation>3ボル式 古ハングル</translation>
    </message>
    <message>
        <source>Ahnmatae</source>
        <translation>アンマテ</translation>
    </message>
</context>
<context>
    <name>HanjaCommand</name>
    <message>
        <source>The Hanja dictionary is not installed: %1 was not found.</source>
        <translation>漢字辞書がインストールされていません。%1 が見つかりません。</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>The Hanja dictionary %1 could not be read.</source>
        <translation>漢字辞書 %1 を読み込めませんでした。</translation>
    </message>
</context>
<context>
    <name>HanjaPopup</name>
    <message>
        <source>Hanja candidates</source>
        <translation>漢字候補</translation>
    </message>
    <message>
        <source>Hanja candidate list</source>
        <translation>漢字候補一覧</translation>
    </message>
    <message>
        <source>Number keys 1 to 9 or Enter choose, Escape closes</source>
        <translation>数字キー1~9またはEnterで選択、Escで閉じる</translation>
    </message>
</context>
<context>
    <name>InputOptionsMenu</name>
    <message>
        <source>direct layout</source>
        <translation>直接入力の配列</translation>
    </message>
    <message>
        <source>auto reorder (moachigi)</source>
        <translation>自動並べ替え (モアチギ)</translation>
    </message>
    <message>
        <source>learn Hanja choices</source>
        <translation>漢字の選択を学習</translation>
    </message>
    <message>
        <source>forget Hanja choices</source>
        <translation>学習した漢字の選択を消去</translation>
    </message>
    <message>
        <source>edit user Hanja dictionary</source>
        <translation>ユーザー漢字辞書を編集</translation>
    </message>
    <message>
        <source>Forget every learned Hanja choice?</source>
        <translation>学習した漢字の選択をすべて消去しますか?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>The Hanja choices could not be forgotten: %1 could not be removed.</source>
        <translation>学習した漢字の選択を消去できません。%1 を削除できません。</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>can&apos;t file open</source>
        <translation>ファイルを開けません</translation>
    </message>
</context>
<context>
    <name>OpenCommands</name>
    <message>
        <source>Text files(*.txt)</source>
        <translation>テキストファイル(*.txt)</translation>
    </message>
    <message>
        <source>HTML files(*.html)</source>
        <translation>HTMLファイル(*.html)</translation>
    </message>
    <message>
        <source>All(*.*)</source>
        <translation>すべてのファイル(*.*)</translation>
    </message>
    <message>
        <source> (%1 unreadable)</source>
        <translation> (読めないコード %1 個)</translation>
    </message>
    <message>
        <source>Open a Text file</source>
        <translation>テキストファイルを開く</translation>
    </message>
    <message>
        <source>can&apos;t file read</source>
        <translation>ファイルを読み込めません</translation>
    </message>
    <message>
        <source>can&apos;t file open</source>
        <translation>ファイルを開けません</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Insert a Text file</source>
        <translation>テキストファイルを挿入</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Unsaved changes to this file were kept when the editor last ended without saving. Recover them?</source>
        <translation>前回エディタが保存せずに終了したとき、このファイルの未保存の変更が保管されました。復元しますか?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Unsaved changes to this file were kept when the editor last ended without saving, but the file has changed since. Open the kept text instead?</source>
        <translation>前回エディタが保存せずに終了したとき、このファイルの未保存の変更が保管されましたが、その後ファイルが変更されています。代わりに保管されたテキストを開きますか?</translation>
    </message>
    <message>
        <source>Unsaved changes kept for this file could not be applied because the file has changed. They are kept in %1.</source>
        <translation>ファイルが変更されたため、このファイルに保管された未保存の変更を適用できませんでした。変更は %1 に保管されています。</translation>
    </message>
    <message>
        <source>information</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>Unsaved text was kept when the editor last ended without saving. Recover it?</source>
        <translation>前回エディタが保存せずに終了したとき、未保存のテキストが保管されました。復元しますか?</translation>
    </message>
    <message>
        <source>The file was changed by another program. Reload it and lose your changes?</source>
        <translation>ファイルが他のプログラムによって変更されました。変更を破棄して再読み込みしますか?</translation>
    </message>
    <message>
        <source>The file was changed by another program. Reload it?</source>
        <translation>ファイルが他のプログラムによって変更されました。再読み込みしますか?</translation>
    </message>
</context>
<context>
    <name>SaveCommands</name>
    <message>
        <source>Save a Text file</source>
        <translation>テキストファイルを保存</translation>
    </message>
    <message>
        <source>Text files(*.txt)</source>
        <translation>テキストファイル(*.txt)</translation>
    </message>
    <message>
        <source>HTML files(*.html)</source>
        <translation>HTMLファイル(*.html)</translation>
    </message>
    <message>
        <source>All(*.*)</source>
        <translation>すべてのファイル(*.*)</translation>
    </message>
    <message>
        <source>Save Unicode number HTML &amp;#99;tag file</source>
        <translation>Unicode番号 HTML &amp;#99;タグファイルを保存</translation>
    </message>
    <message>
        <source>Save Unicode number language C 0x* file</source>
        <translation>Unicode番号 C言語 0x* ファイルを保存</translation>
    </message>
    <message>
        <source>Some codes of this file could not be read. Over write it?</source>
        <translation>このファイルには読み込めなかったコードがあります。上書きしますか?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>can&apos;t file open</source>
        <translation>ファイルを開けません</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>can&apos;t file write</source>
        <translation>ファイルに書き込めません</translation>
    </message>
    <message>
        <source>Save file?</source>
        <translation>ファイルを保存しますか?</translation>
    </message>
    <message>
        <source>U+%1 at line %2, column %3.</source>
        <translation>%2 行 %3 列の U+%1 です。</translation>
    </message>
    <message>
        <source>1 character cannot be written in %1: %2</source>
        <translation>%1 で書き込めない文字が 1 個あります: %2</translation>
    </message>
    <message>
        <source>%1 characters cannot be written in %2; the first is %3</source>
        <translation>%2 で書き込めない文字が %1 個あります。最初の文字は %3</translation>
    </message>
    <message>
        <source>The file was changed by another program after it was opened. Over write it?</source>
        <translation>ファイルを開いた後に他のプログラムによって変更されました。上書きしますか?</translation>
    </message>
</context>
<context>
    <name>ScreenKeyboard</name>
    <message>
        <source>decide</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>ScreenKeyboardPicture</name>
    <message>
        <source>Hangul keyboard</source>
        <translation>ハングルキーボード</translation>
    </message>
</context>
<context>
    <name>Shortcuts</name>
    <message>
        <source>ショートカット作成失敗</source>
        <translation>ショートカット作成失敗</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>Line:%1  Col:%2</source>
        <translation>行:%1  列:%2</translation>
    </message>
    <message>
        <source>WrapLine</source>
        <translation>折り返し</translation>
    </message>
    <message>
        <source>noWrapLine</source>
        <translation>折り返しなし</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Exit OK?</source>
        <translation>終了しますか?</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Tavril Korean Editor Ver 0.8(Built-in Korean IME Romanized/Direct)</source>
        <translation>Tavril 韓国語エディター Ver 0.8(韓国語IME内蔵 ローマ字/直接)</translation>
    </message>
    <message>
        <source>wait please. Reading now.</source>
        <translation>お待ちください。読み込み中です。</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>文書</translation>
    </message>
    <message>
        <source>Status bar</source>
        <translation>ステータスバー</translation>
    </message>
    <message>
        <source>Wrap Line off(toggle)</source>
        <translation>折り返し表示をオフ(切り替え)</translation>
    </message>
    <message>
        <source>Wrap Line on(toggle)</source>
        <translation>折り返し表示をオン(切り替え)</translation>
    </message>
    <message>
        <source>Clear OK?</source>
        <translation>すべて消去しますか?</translation>
    </message>
    <message>
        <source>file</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>open text file(UTF-8,UTF16,SJIS,EUC)</source>
        <translation>テキストファイルを開く(UTF-8,UTF16,SJIS,EUC)</translation>
    </message>
    <message>
        <source>insert text file(UTF-8,UTF16,SJIS,EUC)</source>
        <translation>テキストファイルを挿入(UTF-8,UTF16,SJIS,EUC)</translation>
    </message>
    <message>
        <source>reopen with encoding</source>
        <translation>エンコードを指定して開き直す</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Read the file again, its encoding detected</source>
        <translation>エンコードを自動判別してファイルを読み直します</translation>
    </message>
    <message>
        <source>Read the file again as %1</source>
        <translation>ファイルを %1 として読み直します</translation>
    </message>
    <message>
        <source>save file(UTF-8)</source>
        <translation>名前を付けて保存(UTF-8)</translation>
    </message>
    <message>
        <source>over write save file(UTF-8)</source>
        <translation>上書き保存(UTF-8)</translation>
    </message>
    <message>
        <source>save Unicode number HTML &amp;&amp;#99;tag(ASCII)</source>
        <translation>Unicode番号をHTML &amp;&amp;#99;タグで保存(ASCII)</translation>
    </message>
    <message>
        <source>save Unicode number language C 0x*(ASCII)</source>
        <translation>Unicode番号をC言語 0x* 形式で保存(ASCII)</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <source>find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Screen keyboard</source>
        <translation>スクリーンキーボード</translation>
    </message>
    <message>
        <source>Accent PAD</source>
        <translation>アクセントパッド</translation>
    </message>
    <message>
        <source>change font</source>
        <translation>フォントの変更</translation>
    </message>
    <message>
        <source>create Shortcut in Program menu</source>
        <translation>プログラムメニューにショートカットを作成</translation>
    </message>
    <message>
        <source>create Shortcut in Desktop menu</source>
        <translation>デスクトップにショートカットを作成</translation>
    </message>
    <message>
        <source>KoreaRomaIME</source>
        <translation>ローマ字入力</translation>
    </message>
    <message>
        <source>KoreaDirectIME</source>
        <translation>直接入力</translation>
    </message>
    <message>
        <source>nonIME</source>
        <translation>IMEオフ</translation>
    </message>
    <message>
        <source>IME</source>
        <translation>IME</translation>
    </message>
    <message>
        <source>Korean Romanized input built-in IME</source>
        <translation>韓国語ローマ字入力(内蔵IME)</translation>
    </message>
    <message>
        <source>Korean Direct input built-in IME</source>
        <translation>韓国語直接入力(内蔵IME)</translation>
    </message>
    <message>
        <source>don&apos;t use built-in IME</source>
        <translation>内蔵IMEを使わない</translation>
    </message>
    <message>
        <source>Hangul to Hanja</source>
        <translation>ハングル→漢字変換</translation>
    </message>
    <message>
        <source>help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>keymap</source>
        <translation>キー配列</translation>
    </message>
    <message>
        <source>Jump to Official web site</source>
        <translation>公式サイトへ移動</translation>
    </message>
    <message>
        <source>Jump to TavrilJisho web site(Japanese)</source>
        <translation>TavrilJishoのサイトへ移動(日本語)</translation>
    </message>
    <message>
        <source>copyright</source>
        <translation>著作権情報</translation>
    </message>
    <message>
        <source>save with encoding</source>
        <translation>エンコードを指定して保存</translation>
    </message>
    <message>
        <source>Save the document as %1</source>
        <translation>文書を %1 で保存します</translation>
    </message>
    <message>
        <source>compose Hangul (NFC)</source>
        <translation>ハングルを合成 (NFC)</translation>
    </message>
    <message>
        <source>decompose Hangul (NFD)</source>
        <translation>ハングルを分解 (NFD)</translation>
    </message>
    <message>
        <source>Compose the decomposed Hangul of the selection, or of the whole text, into syllables</source>
        <translation>選択範囲(なければテキスト全体)の分解されたハングルを音節に合成します</translation>
    </message>
    <message>
        <source>Decompose the Hangul syllables of the selection, or of the whole text, into jamo</source>
        <translation>選択範囲(なければテキスト全体)のハングル音節を字母に分解します</translation>
    </message>
</context>
<context>
    <name>Taccent2form</name>
    <message>
        <source>Accent PAD</source>
        <translation>アクセントパッド</translation>
    </message>
</context>
<context>
    <name>Taccentform</name>
    <message>
        <source>Accent PAD</source>
        <translation>アクセントパッド</translation>
    </message>
</context>
<context>
    <name>Tcopyrightform</name>
    <message>
        <source>copyright</source>
        <translation>著作権情報</translation>
    </message>
    <message>
        <source>Tavril Korean Text Editor Ver 0.8</source>
        <translation>Tavril 韓国語テキストエディター Ver 0.8</translation>
    </message>
    <message>
        <source>Contact: support@tavril.example</source>
        <translation>連絡先: support@tavril.example</translation>
    </message>
    <message>
        <source>Web: %1</source>
        <translation>Webサイト: %1</translation>
    </message>
</context>
<context>
    <name>Texitform</name>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Exit</source>
        <translation>保存して終了</translation>
    </message>
    <message>
        <source>No Save &amp;&amp; Exit</source>
        <translation>保存せずに終了</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>Thangulskbform</name>
    <message>
        <source>Hangul Screen keyboard(key click)</source>
        <translation>ハングル スクリーンキーボード(キークリック)</translation>
    </message>
</context>
<context>
    <name>Thelpform</name>
    <message>
        <source>(toggle)</source>
        <translation>(切り替え)</translation>
    </message>
    <message>
        <source>Korean Hangul Romanized input keymap</source>
        <translation>ハングル ローマ字入力 キー配列</translation>
    </message>
    <message>
        <source>space key=decide</source>
        <translation>スペースキー=確定</translation>
    </message>
    <message>
        <source>Hangul Romanized Input keymap</source>
        <translation>ハングル ローマ字入力 キー配列</translation>
    </message>
    <message>
        <source>Keymap help</source>
        <translation>キー配列のヘルプ</translation>
    </message>
</context>
<context>
    <name>Tsearchform</name>
    <message>
        <source>KoreaRomaIME</source>
        <translation>ローマ字入力</translation>
    </message>
    <message>
        <source>KoreaDirectIME</source>
        <translation>直接入力</translation>
    </message>
    <message>
        <source>nonIME</source>
        <translation>IMEオフ</translation>
    </message>
    <message>
        <source>find (search)</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>検索する文字列</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Sorry. auto change to noWrapLine mode.</source>
        <translation>すみません。折り返しなしモードに自動で切り替えます。</translation>
    </message>
</context>
</TS>
