<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>EffectDialog</name>
    <message>
        <source>エフェクトは上から順にかかります。選んだエフェクトを下で調整します</source>
        <translation>Effects apply from top to bottom; set the chosen one below</translation>
    </message>
    <message>
        <source>エフェクト追加</source>
        <translation>Add effect</translation>
    </message>
    <message>
        <source>画像を選んで、エフェクトを一つ加えます</source>
        <translation>Choose a picture and add an effect made from it</translation>
    </message>
    <message>
        <source>選んだエフェクトを一つ前に動かします</source>
        <translation>Move the chosen effect up</translation>
    </message>
    <message>
        <source>選んだエフェクトを一つ後ろに動かします</source>
        <translation>Move the chosen effect down</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>選んだエフェクトを削除します</source>
        <translation>Delete the chosen effect</translation>
    </message>
    <message>
        <source>パラメータ</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>エフェクトの画像: その明るさが形を動かします</source>
        <translation>The effect&apos;s picture: its brightness moves the shape</translation>
    </message>
    <message>
        <source>イメージ変更</source>
        <translation>Change picture</translation>
    </message>
    <message>
        <source>エフェクトの画像を別のファイルに替えます</source>
        <translation>Replace the effect&apos;s picture with another file</translation>
    </message>
    <message>
        <source>エフェクト 有効/無効</source>
        <translation>Effect on or off</translation>
    </message>
    <message>
        <source>有効</source>
        <translation>On</translation>
    </message>
    <message>
        <source>このエフェクトを形にかけます</source>
        <translation>Apply this effect to the shape</translation>
    </message>
    <message>
        <source>無効</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>このエフェクトを残したまま、形にはかけません</source>
        <translation>Keep this effect but do not apply it</translation>
    </message>
    <message>
        <source>エフェクトの種類</source>
        <translation>Effect type</translation>
    </message>
    <message>
        <source>画像が形を動かす向き: 法線の方向、重心からの方向、または別のスカルプトマップとの合成</source>
        <translation>How the picture moves the shape: along the normals, away from the centre, or blended with another sculpt map</translation>
    </message>
    <message>
        <source>画像変換</source>
        <translation>Picture tools</translation>
    </message>
    <message>
        <source>このウィンドウを閉じます</source>
        <translation>Close this window</translation>
    </message>
    <message>
        <source>グレースケール</source>
        <translation>Grayscale</translation>
    </message>
    <message>
        <source>エフェクトの画像を灰色だけにします</source>
        <translation>Turn the effect&apos;s picture grey</translation>
    </message>
    <message>
        <source>ぼかし</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>エフェクトの画像をぼかします</source>
        <translation>Blur the effect&apos;s picture</translation>
    </message>
    <message>
        <source>ネガ反転</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>エフェクトの画像の明暗を反転します</source>
        <translation>Invert the effect&apos;s picture</translation>
    </message>
    <message>
        <source>ポスタライズ</source>
        <translation>Posterize</translation>
    </message>
    <message>
        <source>エフェクトの画像の階調を減らします</source>
        <translation>Reduce the effect&apos;s picture to fewer levels</translation>
    </message>
    <message>
        <source>２値化</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>エフェクトの画像を白と黒の二色にします</source>
        <translation>Turn the effect&apos;s picture black and white</translation>
    </message>
    <message>
        <source>エフェクトの強さ</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>エフェクト全体の強さ (％)、%1 から %2 まで</source>
        <translation>Strength of the whole effect in %, from %1 to %2</translation>
    </message>
    <message>
        <source>エフェクトの強さ R</source>
        <translation>Strength R</translation>
    </message>
    <message>
        <source>画像の赤の強さ、%1 から %2 まで</source>
        <translation>Strength of the picture&apos;s red, from %1 to %2</translation>
    </message>
    <message>
        <source>エフェクトの強さ G</source>
        <translation>Strength G</translation>
    </message>
    <message>
        <source>画像の緑の強さ、%1 から %2 まで</source>
        <translation>Strength of the picture&apos;s green, from %1 to %2</translation>
    </message>
    <message>
        <source>エフェクトの強さ B</source>
        <translation>Strength B</translation>
    </message>
    <message>
        <source>画像の青の強さ、%1 から %2 まで</source>
        <translation>Strength of the picture&apos;s blue, from %1 to %2</translation>
    </message>
    <message>
        <source>％</source>
        <translation>%</translation>
    </message>
    <message>
        <source>法線方向</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>重心方向</source>
        <translation>Centroid</translation>
    </message>
    <message>
        <source>スカルプ合成</source>
        <translation>Sculpt blend</translation>
    </message>
    <message>
        <source>スカルプト合成</source>
        <translation>Sculpt blend</translation>
    </message>
    <message>
        <source>タイプ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>エフェクトの管理</source>
        <translation>Effects</translation>
    </message>
</context>
<context>
    <name>FileFilters</name>
    <message>
        <source>tesk file (*.tsk);;All Files (*)</source>
        <translation>TESK shape (*.tsk);;All files (*)</translation>
    </message>
    <message>
        <source>tesk file (*.tsk);;sculpt map (*.bmp *.png *.tga);;All Files (*)</source>
        <translation>TESK shape (*.tsk);;Sculpt map (*.bmp *.png *.tga);;All files (*)</translation>
    </message>
    <message>
        <source>Bitmap (*.bmp);;PNG (*.png);;TGA (*.tga);;All Files (*)</source>
        <translation>Bitmap (*.bmp);;PNG (*.png);;TGA (*.tga);;All files (*)</translation>
    </message>
    <message>
        <source>画像ファイル(*.tga *.jpg *.bmp *.png);;All pictures (*.bmp *.tga *.png *.jpg *.jpeg);;全て(*)</source>
        <translation>Pictures (*.tga *.jpg *.bmp *.png);;All pictures (*.bmp *.tga *.png *.jpg *.jpeg);;All files (*)</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>現在の形状は削除されます。
よろしいですか？</source>
        <translation>The current shape will be removed.
Go on?</translation>
    </message>
    <message>
        <source>形状が変更されています。
変更を保存しますか？</source>
        <translation>The shape has changed.
Save the changes?</translation>
    </message>
    <message>
        <source>保存する形状がありません。
「新規」か「形状読込」で形状を作ってください。</source>
        <translation>There is no shape to save.
Make one with &quot;New&quot; or &quot;Load shape&quot; first.</translation>
    </message>
    <message>
        <source>フォルダは開けません。
形状ファイル (*.tsk) をドロップしてください。</source>
        <translation>A folder cannot be opened.
Drop a shape file (*.tsk).</translation>
    </message>
    <message>
        <source>最初のファイルだけを開きました。次のファイルは開いていません:</source>
        <translation>Only the first file was opened. These were not:</translation>
    </message>
    <message>
        <source>書き出すスカルプトマップがありません。</source>
        <translation>There is no sculpt map to export.</translation>
    </message>
    <message>
        <source>指定ファイルが読み込めませんでした。</source>
        <translation>The file could not be read.</translation>
    </message>
    <message>
        <source>KOBへのデータ転送に失敗しました。</source>
        <translation>The shape could not be sent to the viewer.</translation>
    </message>
    <message>
        <source>新規データの場合には 一回 [形状保存] を行ってから
[ Viewer 連動 ] ボタンを押して下さい。</source>
        <translation>A new shape must be saved once first:
use [Save shape], then press [Link viewer].</translation>
    </message>
    <message>
        <source>Zuvista を起動してから
[ Viewer 連動 ] ボタンを押して下さい。</source>
        <translation>Start the viewer (Zuvista) first,
then press [Link viewer].</translation>
    </message>
    <message>
        <source>KOBから形状読み込みメッセージを受けました。
現在のデータを保存しますか？
(いいえ を押した場合には、現在のデータは破棄されます。)</source>
        <translation>The viewer asks to load a shape.
Save the current shape first?
(With No, the current shape is discarded.)</translation>
    </message>
    <message>
        <source>tesk バージョンが異なっています。</source>
        <translation>This file was made by another version of TESK.</translation>
    </message>
    <message>
        <source>ファイルが開けませんでした。</source>
        <translation>The file could not be opened.</translation>
    </message>
    <message>
        <source>ファイルの内容が正しくありません。</source>
        <translation>The file is not a valid TESK shape.</translation>
    </message>
    <message>
        <source>ファイルが保存できませんでした。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>重要ライン指定ができるのは、５ラインまでです。</source>
        <translation>At most five lines can be marked important.</translation>
    </message>
    <message>
        <source>UNDO バッファにエラーが生じています。
データを保存して、再起動してください。</source>
        <translation>The undo history is damaged.
Save your shape and restart TESK.</translation>
    </message>
    <message>
        <source>単色の画像からは形状を作れません。</source>
        <translation>A picture of a single colour holds no shape.</translation>
    </message>
    <message>
        <source>この線数・点数では、このタイプの形状を組み立てられません。</source>
        <translation>This type cannot build a shape with that many lines and points.</translation>
    </message>
    <message>
        <source>JPEG 形式では書き出せません。非可逆圧縮のため頂点の位置が崩れます。
拡張子を .bmp、.png または .tga にしてください。</source>
        <translation>Sculpt maps cannot be exported as JPEG: its lossy compression moves the vertices.
Use the extension .bmp, .png or .tga.</translation>
    </message>
    <message>
        <source>この拡張子の形式では書き出せません。
拡張子を .bmp、.png または .tga にしてください。</source>
        <translation>Sculpt maps cannot be exported with this extension.
Use the extension .bmp, .png or .tga.</translation>
    </message>
    <message>
        <source>ファイルを書き込めませんでした。</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>タイプ指定がされていません。</source>
        <translation>The shape has no type.</translation>
    </message>
    <message>
        <source>分割ポイントの指定が無効です。</source>
        <translation>The division points are not valid.</translation>
    </message>
    <message>
        <source>エフェクトタイプに無効な値が設定されていました。</source>
        <translation>The effect had an unknown type.</translation>
    </message>
    <message>
        <source>D3DXCreateTextureFromFile error</source>
        <translation>The sculpt map has no pixels to export.</translation>
    </message>
</context>
<context>
    <name>PreviewNotes</name>
    <message>
        <source>%2 面での面積 %1 は %3 〜 %4 の外です。ビューワはかわりに球を表示します</source>
        <translation>%1 at %2 faces is outside %3 to %4; viewers show a sphere in its place</translation>
    </message>
    <message>
        <source>%1 行で継ぎ目が開いています: 最初と最後の列の差は最大 %2 コード、隣り合う列の差は最大 %3</source>
        <translation>open in %1 rows: first and last columns differ by up to %2 codes, neighbouring columns by at most %3</translation>
    </message>
    <message>
        <source>%1 列で継ぎ目が開いています: 最初と最後の行の差は最大 %2 コード、隣り合う行の差は最大 %3</source>
        <translation>open in %1 columns: first and last rows differ by up to %2 codes, neighbouring rows by at most %3</translation>
    </message>
    <message>
        <source>シートで作った輪です: 最初と最後の列が重なりますが、ビューワはシートの端をつなぎません。チューブ (C) かリング (T) のタイプならつながります</source>
        <translation>a loop built as a sheet: its first and last columns meet, but viewers do not join a sheet&apos;s edges; a tube (C) or ring (T) type joins them</translation>
    </message>
    <message>
        <source>シートで作った輪です: 最初と最後の行が重なりますが、ビューワはシートの端をつなぎません。チューブ (C) かリング (T) のタイプならつながります</source>
        <translation>a loop built as a sheet: its first and last rows meet, but viewers do not join a sheet&apos;s edges; a tube (C) or ring (T) type joins them</translation>
    </message>
    <message>
        <source>シートで作った輪です: 最初と最後の列と行が重なりますが、ビューワはシートの端をつなぎません。チューブ (C) かリング (T) のタイプならつながります</source>
        <translation>a loop built as a sheet: its first and last columns and rows meet, but viewers do not join a sheet&apos;s edges; a tube (C) or ring (T) type joins them</translation>
    </message>
    <message>
        <source>上の行は中央のピクセルから %1 コード、下の行は %2 コード広がっています。ビューワはどちらも一点に集めます</source>
        <translation>the top row spreads %1 codes and the bottom row %2 from their middle pixels; viewers pull each to a point</translation>
    </message>
    <message>
        <source>%1 面の形は元の形から大きさの最大 %2 % 離れています。その細部はどのレベルにも出ません</source>
        <translation>the %1-face shape is up to %2 % of the size away from the full shape; no level shows that detail</translation>
    </message>
    <message>
        <source>面積</source>
        <translation>area</translation>
    </message>
    <message>
        <source>継ぎ目</source>
        <translation>seam</translation>
    </message>
    <message>
        <source>極</source>
        <translation>poles</translation>
    </message>
    <message>
        <source>細部</source>
        <translation>detail</translation>
    </message>
    <message>
        <source>精度</source>
        <translation>precision</translation>
    </message>
    <message>
        <source>X (赤)</source>
        <translation>X (red)</translation>
    </message>
    <message>
        <source>Y (緑)</source>
        <translation>Y (green)</translation>
    </message>
    <message>
        <source>Z (青)</source>
        <translation>Z (blue)</translation>
    </message>
    <message>
        <source>%1 は %2 コードの幅しかありません</source>
        <translation>%1 spans only %2 codes</translation>
    </message>
    <message>
        <source>%1。形を表すには段階が足りません</source>
        <translation>%1; too few steps for a shape</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>ビューワが作る %1 面のメッシュ</source>
        <translation>%1 faces, as viewers build it</translation>
    </message>
    <message>
        <source>%1 として %2 × %3 で読み込みました: 画像との差は平均 %4 コード、最大 %5</source>
        <translation>imported as %1, %2 x %3: %4 codes off the picture on average, %5 at most</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>error</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>%1 - %2: %3</source>
        <translation>%1 - %2: %3</translation>
    </message>
</context>
<context>
    <name>tesk::Ctesk001View</name>
    <message>
        <source>マニュアルを開きます (F1)</source>
        <translation>Open the manual (F1)</translation>
    </message>
    <message>
        <source>版ごとの変更点を開きます</source>
        <translation>Open the list of changes in each version</translation>
    </message>
    <message>
        <source>プロジェクト</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
    <message>
        <source>新しい形状で始めます</source>
        <translation>Start a new shape</translation>
    </message>
    <message>
        <source>形状保存</source>
        <translation>Save shape</translation>
    </message>
    <message>
        <source>形状を tesk ファイル (.tsk) に保存します</source>
        <translation>Save the shape as a TESK file (.tsk)</translation>
    </message>
    <message>
        <source>形状読込</source>
        <translation>Load shape</translation>
    </message>
    <message>
        <source>tesk ファイル (.tsk) を開くか、スカルプトマップの画像から形状を作ります</source>
        <translation>Open a TESK file (.tsk), or make a shape from a sculpt map picture</translation>
    </message>
    <message>
        <source>スカルプト</source>
        <translation>Sculpt map</translation>
    </message>
    <message>
        <source>いまのスカルプトマップ: 赤が X、緑が Y、青が Z</source>
        <translation>The sculpt map as it is now: red is X, green Y, blue Z</translation>
    </message>
    <message>
        <source>BITMAP 書出</source>
        <translation>Export map</translation>
    </message>
    <message>
        <source>スカルプトマップを画像 (BMP、PNG または TGA) に書き出します</source>
        <translation>Export the sculpt map as a picture (BMP, PNG or TGA)</translation>
    </message>
    <message>
        <source>エフェクト</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>画像でスカルプトマップを変えるエフェクトを管理します</source>
        <translation>Manage the effects that change the sculpt map with pictures</translation>
    </message>
    <message>
        <source>ビューワ</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>Viewer 連動</source>
        <translation>Link viewer</translation>
    </message>
    <message>
        <source>押している間、編集する形状をビューワに送り続けます</source>
        <translation>While pressed in, the viewer is sent the shape as you edit it</translation>
    </message>
</context>
<context>
    <name>tesk::GLToolDialog</name>
    <message>
        <source>両端が極に閉じた形</source>
        <translation>Closed shape with a pole at each end</translation>
    </message>
    <message>
        <source>開いたシート</source>
        <translation>Open sheet</translation>
    </message>
    <message>
        <source>チューブ: どのラインも輪になります</source>
        <translation>Tube: every line is a loop</translation>
    </message>
    <message>
        <source>リング: どのラインも輪になり、最後のラインは最初のラインにつながります</source>
        <translation>Ring: every line is a loop, and the last line joins the first</translation>
    </message>
    <message>
        <source>直線</source>
        <translation>straight</translation>
    </message>
    <message>
        <source>直線、一区間 8 ピクセル (8 点、9 ラインまで)</source>
        <translation>straight, 8 pixels a segment (up to 8 points and 9 lines)</translation>
    </message>
    <message>
        <source>Catmull-Rom 曲線</source>
        <translation>Catmull-Rom curve</translation>
    </message>
    <message>
        <source>B スプライン曲線</source>
        <translation>B-spline curve</translation>
    </message>
    <message>
        <source>%1
ライン沿い: %2
ライン間: %3</source>
        <translation>%1
Along the lines: %2
Between the lines: %3</translation>
    </message>
    <message>
        <source>確認 ＆ 選択</source>
        <translation>View &amp; pick</translation>
    </message>
    <message>
        <source>通常表示</source>
        <translation>Solid</translation>
    </message>
    <message>
        <source>面に陰をつけて形を表示します</source>
        <translation>Show the shape with shaded faces</translation>
    </message>
    <message>
        <source>ワイヤーフレーム</source>
        <translation>Wireframe</translation>
    </message>
    <message>
        <source>面の辺だけを表示します</source>
        <translation>Show only the edges of the faces</translation>
    </message>
    <message>
        <source>ポイント 透過</source>
        <translation>X-ray points</translation>
    </message>
    <message>
        <source>押している間、形の向こう側の点も透けて見えます</source>
        <translation>While pressed in, points behind the shape show through it</translation>
    </message>
    <message>
        <source>テクスチャ</source>
        <translation>Texture</translation>
    </message>
    <message>
        <source>ビューワと同じ貼り方でテクスチャを形に表示します: チェッカーか画像 (キー T)</source>
        <translation>Show a texture on the shape as viewers map it: the checker or a picture (key T)</translation>
    </message>
    <message>
        <source>チェッカー</source>
        <translation>Checker</translation>
    </message>
    <message>
        <source>画像…</source>
        <translation>Picture…</translation>
    </message>
    <message>
        <source>初期位置</source>
        <translation>Reset view</translation>
    </message>
    <message>
        <source>カメラを最初の位置に戻します</source>
        <translation>Put the camera back where it started</translation>
    </message>
    <message>
        <source>全頂点</source>
        <translation>full</translation>
    </message>
    <message>
        <source>ビューワがマップから作るメッシュの一辺の面の数 (プレビューでキー 0〜4)</source>
        <translation>Faces per side of the mesh viewers build from the map (keys 0-4 in the preview)</translation>
    </message>
</context>
<context>
    <name>tesk::PECForm</name>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>選んだ点を %1 の向きに動かします: 1 目盛りで %2</source>
        <translation>Move the chosen points along %1: %2 per slider unit</translation>
    </message>
    <message>
        <source>選んだ点を %1 の向きに拡大・縮小します: 1 目盛りで %2 ％</source>
        <translation>Scale the chosen points along %1: %2 % per slider unit</translation>
    </message>
    <message>
        <source>選んだ点を %1 軸のまわりに回します: 1 目盛りで %2 度。離すとつまみは中央に戻り、回転は残ります</source>
        <translation>Turn the chosen points about the %1 axis: %2° per slider unit. On release the thumb returns to the middle and the turn stays</translation>
    </message>
    <message>
        <source>X、Y、Z のすべて</source>
        <translation>all of X, Y and Z</translation>
    </message>
    <message>
        <source>ポイントスライド</source>
        <translation>Point slide</translation>
    </message>
    <message>
        <source>どのラインも点の順番を一つずらします: 下の &lt; と &gt;</source>
        <translation>Shift the order of every line&apos;s points by one place: &lt; and &gt; below</translation>
    </message>
    <message>
        <source>どのラインも点の順番を一つ前にずらします</source>
        <translation>Shift every line&apos;s points one place back</translation>
    </message>
    <message>
        <source>どのラインも点の順番を一つ後ろにずらします</source>
        <translation>Shift every line&apos;s points one place on</translation>
    </message>
</context>
<context>
    <name>tesk::PECToolDialog</name>
    <message>
        <source>UNDO</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>確定した一つ前の形に戻します</source>
        <translation>Go back to the shape before the last confirmed step</translation>
    </message>
    <message>
        <source>REDO</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>UNDO で戻した形をもう一度進めます</source>
        <translation>Go forward again to the step Undo went back from</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>スライダーで変えた点を確定し、UNDO で戻れる一歩にします (Enter)</source>
        <translation>Keep what the sliders changed as a step Undo can go back from (Return)</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>確定していないスライダーの変更を捨てます</source>
        <translation>Drop the slider changes not yet confirmed</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>tesk::PEToolDialog</name>
    <message>
        <source>選択 ＆ 分割</source>
        <translation>Select &amp; divide</translation>
    </message>
    <message>
        <source>選択 モード</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>点を選びます: クリックで一つ、ドラッグで囲んだものすべて</source>
        <translation>Choose points: a click takes one, a drag takes all it encloses</translation>
    </message>
    <message>
        <source>分割 モード</source>
        <translation>Divide</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>クリックでラインや点を加えたり、取り除いたりします</source>
        <translation>Click to add or remove lines and points</translation>
    </message>
    <message>
        <source>クリックした所にラインか点を加えます</source>
        <translation>A click adds a line or a point there</translation>
    </message>
    <message>
        <source>クリックしたラインか点を取り除きます</source>
        <translation>A click removes the line or point</translation>
    </message>
</context>
<context>
    <name>tesk::PrimSizeNote</name>
    <message>
        <source>ワールドでプリムにこの大きさを与えてください: スカルプトマップはどの軸も同じ範囲に伸ばします</source>
        <translation>Give the prim this size in the world: the sculpt map stretches every axis over the same range</translation>
    </message>
    <message>
        <source>プリムの大きさ: %1</source>
        <translation>Prim size: %1</translation>
    </message>
</context>
<context>
    <name>tesk::SculptedImageSaveOptionDialog</name>
    <message>
        <source>X 反転</source>
        <translation>Flip X</translation>
    </message>
    <message>
        <source>書き出す画像で X (赤) を反転します</source>
        <translation>Flip X (red) in the exported picture</translation>
    </message>
    <message>
        <source>Y 反転</source>
        <translation>Flip Y</translation>
    </message>
    <message>
        <source>書き出す画像で Y (緑) を反転します</source>
        <translation>Flip Y (green) in the exported picture</translation>
    </message>
    <message>
        <source>Z 反転</source>
        <translation>Flip Z</translation>
    </message>
    <message>
        <source>書き出す画像で Z (青) を反転します</source>
        <translation>Flip Z (blue) in the exported picture</translation>
    </message>
    <message>
        <source>この反転でスカルプトマップを書き出します</source>
        <translation>Export the sculpt map with these flips</translation>
    </message>
    <message>
        <source>Export Option</source>
        <translation>Export options</translation>
    </message>
</context>
</TS>
