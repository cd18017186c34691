#!/usr/bin/env python3
"""Quiz: the smallest Parlanta activity. Each phrase of the subject is shown in the language taught and the learner
picks its translation; the phrases picked right at the first try are the score, and each phrase gets a rating for the
review schedule. See docs/activity-contract.md.

Set PARLANTA_QUIZ_AUTOPLAY=1 to play without a window, every answer right (for unattended tests)."""
import os
import random
import sqlite3
import sys
import time
from datetime import datetime, timedelta, timezone
from urllib.request import pathname2url

# tActivity in each interface language: the names on the button pictures (quiz.tsv), so that the tracked-scores
# window lists the scores under the name the learner clicked.
NAMES = {"English": "Quiz", "Spanish": "Cuestionario"}
TEXTS = {
    "English": {"pick": "Pick the translation", "done": "Right at the first try: {}", "saved": "Score saved.",
                "not saved": "The score was not saved:", "again": "Save again", "close": "Close"},
    "Spanish": {"pick": "Elige la traducción", "done": "Bien a la primera: {}", "saved": "Resultado guardado.",
                "not saved": "El resultado no se guardó:", "again": "Guardar otra vez", "close": "Cerrar"},
}
CHOICES = 4
AGAIN, GOOD = 1, 3  # the ratings this quiz gives: a wrong pick first, or the right one at once


class BadInput(Exception):
    pass


def read_exchange(argument):
    if not argument:
        raise BadInput("no exchange file was named")
    # A bare name is found because Parlanta starts the activity in the folder that holds the file.
    try:
        with open(argument, "rb") as f:
            data = f.read((1 << 20) + 1)
    except OSError as e:
        raise BadInput(f"cannot read the exchange file: {e}")
    if len(data) > 1 << 20:
        raise BadInput("the exchange file is far larger than ten phrases take")
    # Qt's 8-bit encoding of the locale: the ANSI code page on Windows, UTF-8 everywhere else.
    try:
        text = data.decode("mbcs" if os.name == "nt" else "utf-8")
    except UnicodeDecodeError as e:
        raise BadInput(f"the exchange file is not text: {e}")
    lines = [line[:-1] if line.endswith("\r") else line for line in text.split("\n")]
    while lines and not lines[-1]:
        lines.pop()
    if len(lines) < 15 or not lines[7].isdigit() or int(lines[7]) > 10:
        raise BadInput("the exchange file has no complete header")
    count = int(lines[7])
    if len(lines) != 15 + 4 * count:
        raise BadInput(f"line 8 promises {count} phrases, but {len(lines) - 15} phrase lines follow")
    quoted = lines[15:]
    if any(len(line) < 2 or line[0] != '"' or line[-1] != '"' for line in quoted):
        raise BadInput("a phrase line is not between double quotes")
    language, student, subject, database = lines[3].strip(), lines[5], lines[6], lines[8]
    if language not in NAMES:
        raise BadInput(f"line 4 is not English or Spanish: {lines[3]!r}")
    if not (student.strip() and subject.strip() and database.strip()):
        raise BadInput("the student, the subject or the user database is blank")
    texts = [line[1:-1] for line in quoted]
    # Line 10: each phrase's identity, TAB between them; anything else (EMPTY, an older Parlanta) names none.
    ids = lines[9].split("\t")
    if lines[9] == "EMPTY" or len(ids) != count:
        ids = [""] * count
    # phrase, translation, translation 2, sound file, identity
    phrases = [texts[i:i + 4] + [ids[i // 4]] for i in range(0, len(texts), 4)]
    if len({p[1] for p in phrases}) < 2:
        raise BadInput("the quiz needs at least two phrases with different translations")
    return language, student, subject, database, phrases


def connect(database):
    # mode=rw: a missing file is an error, never a new empty database. The timeout waits for Parlanta's readers.
    uri = "file:" + pathname2url(os.path.abspath(database)) + "?mode=rw"
    return sqlite3.connect(uri, uri=True, timeout=5)


def check_database(database):
    folder = os.path.dirname(os.path.abspath(database))
    # SQLite writes its journal beside the file, so the folder must take new files too.
    if not os.path.isfile(database) or not os.access(database, os.W_OK) or not os.access(folder, os.W_OK):
        raise BadInput(f"the user database is missing or read-only: {database}")
    try:
        con = connect(database)
        try:
            con.execute("SELECT count(*) FROM tblscores")
        finally:
            con.close()
    except sqlite3.Error as e:
        raise BadInput(f"{database} is not a user database: {e}")


def now_utc():
    """The time now, moved by the whole days Parlanta's PARLANTA_CLOCK_SHIFT_DAYS says (tests look ahead with it)."""
    try:
        shift = int(os.environ.get("PARLANTA_CLOCK_SHIFT_DAYS", "0"))
    except ValueError:
        shift = 0
    return datetime.now(timezone.utc) + timedelta(days=shift)


def moment(when):
    return when.strftime("%Y-%m-%dT%H:%M:%SZ")


def save_round(database, student, subject, activity, right, total, results):
    """The score row and one row per phrase with an identity, in one transaction: all of them or none.
    results: (identity, rating, moment, answer_ms or None) per phrase."""
    now = now_utc().astimezone()
    con = connect(database)
    con.isolation_level = None  # the transaction is begun and ended here
    try:
        con.execute("BEGIN IMMEDIATE")  # the write lock first: no other writer comes between the rows
        try:
            score = con.execute("INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, nDate, "
                                "nTime) VALUES (?, ?, ?, ?, ?, ?, ?)",
                                (student, subject, activity, f"{right} / {total}", right,
                                 now.strftime("%Y-%m-%d"), now.strftime("%H:%M:%S"))).lastrowid
            # A file no Parlanta has upgraded yet has no phrase results: the score is stored alone.
            if con.execute("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'tblphraseresults'").fetchone():
                con.executemany("INSERT INTO tblphraseresults (fkScoreID, tName, tPhraseID, tActivity, nRating, "
                                "tMoment, nAnswerMs) VALUES (?, ?, ?, ?, ?, ?, ?)",
                                [(score, student, identity, activity, rating, when, ms)
                                 for identity, rating, when, ms in results if identity])
            con.execute("COMMIT")
        except BaseException:
            con.execute("ROLLBACK")
            raise
    finally:
        con.close()


def choices_for(phrase, phrases):
    others = list({p[1] for p in phrases} - {phrase[1]})
    options = random.sample(others, min(CHOICES - 1, len(others))) + [phrase[1]]
    random.shuffle(options)
    return options


def play_window(language, exchange, on_done):
    import tkinter as tk

    texts = TEXTS[language]
    phrases = exchange[4]
    order = random.sample(phrases, len(phrases))
    state = {"index": 0, "right": 0, "missed": False, "shown": 0.0, "results": []}
    root = tk.Tk()
    root.title(NAMES[language])
    root.minsize(480, 300)
    tk.Label(root, text=texts["pick"]).pack(pady=(16, 4))
    question = tk.Label(root, font=("DejaVu Sans", 20, "bold"), wraplength=440)
    question.pack(pady=8)
    buttons = tk.Frame(root)
    buttons.pack(fill="x", padx=24)
    footer = tk.Label(root)
    footer.pack(pady=8)

    def show():
        for child in buttons.winfo_children():
            child.destroy()
        phrase = order[state["index"]]
        question.config(text=phrase[0])
        state["missed"] = False
        state["shown"] = time.monotonic()
        for option in choices_for(phrase, phrases):
            button = tk.Button(buttons, text=option)
            button.config(command=lambda b=button, o=option: answer(b, o == phrase[1]))
            button.pack(fill="x", pady=3)
        footer.config(text=f"{state['index'] + 1} / {len(order)}")

    def answer(button, right):
        if not right:
            state["missed"] = True
            button.config(state="disabled", bg="#f4b6b6")
            return
        state["right"] += 0 if state["missed"] else 1
        phrase = order[state["index"]]
        ms = round((time.monotonic() - state["shown"]) * 1000)
        state["results"].append((phrase[4], AGAIN if state["missed"] else GOOD, moment(now_utc()), ms))
        state["index"] += 1
        if state["index"] < len(order):
            show()
        else:
            finish()

    def finish():
        for child in buttons.winfo_children():
            child.destroy()
        question.config(text=texts["done"].format(f"{state['right']} / {len(order)}"))
        note = tk.Label(buttons)
        note.pack()
        again = tk.Button(buttons, text=texts["again"])
        tk.Button(buttons, text=texts["close"], command=root.destroy).pack(side="bottom", pady=4)

        def save():
            again.pack_forget()
            try:
                on_done(state["right"], len(order), state["results"])
                note.config(text=texts["saved"])
            except sqlite3.Error as e:
                note.config(text=f"{texts['not saved']} {e}")
                again.pack(pady=4)

        again.config(command=save)
        save()

    show()
    root.mainloop()


def say_why(message, unattended):
    print(f"Quiz: {message}", file=sys.stderr)
    if unattended:
        return
    try:
        import tkinter as tk
        from tkinter import messagebox

        tk.Tk().withdraw()
        messagebox.showwarning("Quiz", message)
    except Exception:
        pass  # no window system: the line on standard error is all that can be said


def main():
    unattended = os.environ.get("PARLANTA_QUIZ_AUTOPLAY") == "1"
    try:
        exchange = read_exchange(sys.argv[1] if len(sys.argv) > 1 else "")
        language, student, subject, database, phrases = exchange
        # Checked before the round, so that no learner plays for a score that cannot be stored.
        check_database(database)
    except BadInput as e:
        say_why(str(e), unattended)
        return 1

    def done(right, total, results):
        save_round(database, student, subject, NAMES[language], right, total, results)

    if unattended:
        try:
            # Every answer right at once; no time was taken to answer.
            done(len(phrases), len(phrases), [(p[4], GOOD, moment(now_utc()), None) for p in phrases])
        except sqlite3.Error as e:
            say_why(f"the score was not saved: {e}", unattended)
            return 1
        return 0
    play_window(language, exchange, done)
    return 0


if __name__ == "__main__":
    sys.exit(main())
