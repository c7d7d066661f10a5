# make_big_text OUT: the benchmarks' large text, sourced by viewer_bench.sh
# and search_bench.sh. Realistic Japanese lines written as UTF-8 and turned
# into Shift-JIS by iconv, exactly TEXT_BYTES long. Every generated character
# is a kana, kanji or Japanese punctuation mark (3 bytes in UTF-8, 2 in
# Shift-JIS) or ASCII, which is how the generator counts the size.
make_big_text() {  # out
    awk -v target="$TEXT_BYTES" 'BEGIN {
        srand(20261208)
        nn = split("今日 明日 会社 学校 先生 友達 電車 駅 天気 季節 仕事 会議 資料 説明 問題 方法 結果 理由 時間 場所 " \
            "家族 子供 料理 写真 音楽 映画 手紙 電話 番号 住所 名前 意見 質問 答え 計画 予定 準備 部屋 窓 机 " \
            "本 新聞 記事 文章 言葉 漢字 ひらがな カタカナ 日本語 英語 気持ち 経験 技術 機械 道具 文化 歴史 社会 " \
            "経済 政治 環境 自然 山 川 海 空 雨 雪 風 春 夏 秋 冬 朝 昼 夜 週末 休み 旅行 地図 ファイル フォルダ " \
            "プログラム データ 画面 設定 圧縮 解凍 書庫 ソフト バージョン 説明書 注意 変更 更新 利用者", noun, " ")
        np = split("は が を に で と の も へ から まで より", part, " ")
        nv = split("行き 見 聞き 書き 読み 話し 使い 作り 考え 調べ 始め 終わり 続け 変わり 届き 送り 選び 待ち 決め 進み", verb, " ")
        ne = split("ます。 ました。 ません。 ましょう。 たいと思います。 ています。 てください。 ることができます。", ends, " ")
        cr = sprintf("\r\n")
        total = 0
        while (1) {
            line = ""; sj = 0  # sj: the line'"'"'s size in Shift-JIS bytes
            want = 30 + int(rand() * 40)
            while (sj < want * 2) {
                if (rand() < 0.1) {
                    d = (2000 + int(rand() * 30)) "年" (1 + int(rand() * 12)) "月"
                    line = line d; sj += length(d) - 6 + 4
                }
                for (k = 1 + int(rand() * 3); k > 0; k--) {
                    w = noun[1 + int(rand() * rand() * nn)] part[1 + int(rand() * np)]
                    if (rand() < 0.2) w = w "、"
                    line = line w; sj += length(w) / 3 * 2
                }
                w = verb[1 + int(rand() * nv)] ends[1 + int(rand() * ne)]
                line = line w; sj += length(w) / 3 * 2
            }
            if (rand() < 0.15) { line = line cr; sj += 2 }
            if (total + sj + 2 > target) break
            printf "%s%s", line, cr
            total += sj + 2
        }
        while (total < target) { printf "-"; total++ }
    }' | iconv -f UTF-8 -t CP932 >"$1"
}

