#!/usr/bin/env python3
"""Writes the benchmark corpus: deterministic pseudo-text, Japanese in
Shift-JIS (CP932) and English, CRLF lines, a few large files and many small
ones, 32 MiB in all. Usage: make_corpus.py OUTDIR [TOTAL_BYTES]"""
import os
import random
import sys

JA_NOUNS = ("日本語 文書 書庫 圧縮 展開 表示 画面 窓 設定 項目 検索 結果 文字 行 頁 番号 時間 今日 明日 会議 報告 "
            "資料 計画 作業 担当 部署 会社 社員 顧客 製品 価格 品質 問題 解決 方法 理由 目的 環境 機能 操作 "
            "説明 手順 注意 確認 変更 追加 削除 保存 印刷 送信 受信 東京 大阪 春 夏 秋 冬 天気 電車 駅 "
            "図書館 学校 先生 学生 友達 家族 料理 音楽 映画 写真 旅行 季節 桜 富士山 温泉 ソフト ファイル "
            "フォルダ データ システム ネットワーク メール バージョン ウィンドウ ボタン メニュー ツール").split()
JA_PARTICLES = "は が を に で と の へ から まで より も".split()
JA_VERBS = ("します した しました できます できません あります ありません です でした ください "
            "行います 確認します 表示されます 保存されます 選びます 開きます 閉じます 使います 読みます "
            "書きます 見ます 考えます 思います 始めます 終わります 続けます 変わります").split()
JA_ENDS = ["。", "。", "。", "、", "！", "？", "。\r\n"]
EN_WORDS = ("the of and to in is that for it as was with be by on not he this are or his from at which but "
            "have an they you were her she there been one all we their has would when if so no will more "
            "archive window viewer text file folder member header method window data block frame table code "
            "length distance literal match offset buffer stream reader writer output input value size time "
            "report meeting project schedule customer product quality price office station library school "
            "teacher student family music travel season weather morning evening system network version "
            "compress extract display search result setting option button menu toolbar").split()


def zipf_weights(n):
    return [1.0 / (i + 1) ** 0.9 for i in range(n)]


class Writer:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.jn = zipf_weights(len(JA_NOUNS))
        self.jv = zipf_weights(len(JA_VERBS))
        self.ew = zipf_weights(len(EN_WORDS))

    def ja_paragraph(self):
        r = self.rng
        out = []
        for _ in range(r.randint(2, 8)):
            k = r.randint(1, 4)
            nouns = r.choices(JA_NOUNS, self.jn, k=k)
            parts = r.choices(JA_PARTICLES, k=k)
            s = "".join(n + p for n, p in zip(nouns, parts))
            if r.random() < 0.15:
                s = f"{r.randint(1, 2030)}年{r.randint(1, 12)}月" + s
            out.append(s + r.choices(JA_VERBS, self.jv)[0] + r.choice(JA_ENDS))
        return "".join(out) + "\r\n\r\n"

    def en_paragraph(self):
        r = self.rng
        out = []
        for _ in range(r.randint(2, 7)):
            words = r.choices(EN_WORDS, self.ew, k=r.randint(5, 18))
            if r.random() < 0.2:
                words.insert(r.randrange(len(words)), str(r.randint(0, 99999)))
            s = " ".join(words)
            out.append(s[0].upper() + s[1:] + r.choice([".", ".", ".", ",", "?", "!"]))
        # wrap at about 72 columns, CRLF like the Japanese files
        text, lines, line = " ".join(out), [], ""
        for w in text.split(" "):
            if len(line) + len(w) + 1 > 72:
                lines.append(line)
                line = w
            else:
                line = f"{line} {w}" if line else w
        lines.append(line)
        return "\r\n".join(lines) + "\r\n\r\n"

    def body(self, kind, size):
        chunks, have = [], 0
        while have < size:
            if kind == "ja" or (kind == "mix" and self.rng.random() < 0.5):
                b = self.ja_paragraph().encode("cp932")
            else:
                b = self.en_paragraph().encode("ascii")
            chunks.append(b)
            have += len(b)
        data = b"".join(chunks)
        cut = data.rfind(b"\r\n", 0, size)  # end on a line, pad the rest in ASCII
        cut = cut + 2 if cut >= 0 else 0
        return data[:cut] + b"-" * (size - cut)


def main():
    outdir = sys.argv[1]
    total = int(sys.argv[2]) if len(sys.argv) > 2 else 32 << 20
    os.makedirs(outdir, exist_ok=True)
    rng = random.Random(20261208)
    # Large files take 9/16 of the total, small ones (1..64 KiB) the rest.
    plan = [("big_ja_1.txt", "ja", total * 4 // 16), ("big_en_1.txt", "en", total * 3 // 16),
            ("big_mix_1.txt", "mix", total * 2 // 16)]
    left = total - sum(s for _, _, s in plan)
    i = 0
    while left > 0:
        kind = rng.choice(["ja", "ja", "en", "mix"])
        size = min(left, rng.randint(1 << 10, 64 << 10))
        plan.append((f"{kind}_{i:04d}.txt", kind, size))
        left -= size
        i += 1
    for n, (name, kind, size) in enumerate(plan):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(Writer(n).body(kind, size))


if __name__ == "__main__":
    main()
