#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that a speech recogniser makes out every spoken cue as the words it should say.

    tools/recognise_cues.py [--sounds DIR] [--generator FILE] [--margins]

The words come from the generator's table (the `cue FILE SAMPLES "WORDS" ...` lines of
tools/gen_cues.sh), so they are written down in one place. Each cue is decoded by
pocketsphinx with its US English model against a grammar whose only sentences are the
spoken cues' words, so the recogniser must pick one of them (or give up). A cue is heard
twice, with 0.1 s and with 0.2 s of silence around it (a listener never hears a cue start
at the very first sample), and passes when both picks are its own words. Prints one line
per cue and exits 1 naming every cue that fails, or when pocketsphinx, its model or sox is
missing.

--margins also aligns each cue against every sentence of the set on its own and prints, for
each silence, how far its own words score ahead of the best other sentence (acoustic log
score, higher is better; negative: the sentence in brackets fits the sound better).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MODEL = "/usr/share/pocketsphinx/model/en-us"
# Words of ours the model's dictionary does not know, spelled the way they are written.
EXTRA_WORDS = {
    "quorblex": ["K W AO R B L EH K S"],
    "gazoo": ["G AH Z UW"],
}
RATE = 16000  # the model listens at 16 kHz
LEAD_INS = (0.1, 0.2)  # seconds of silence before (and after) a cue as it is heard
CUE_LINE = re.compile(r'^\s*cue\s+(\S+)\s+(\d+)\s+"([^"]+)"')


def fail(message):
    print("recognise_cues: " + message, file=sys.stderr)
    sys.exit(1)


def read_table(generator):
    """The (file, words) pairs of the generator's cue table, in its order."""
    try:
        with open(generator, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except OSError as e:
        fail(f"cannot read {generator}: {e.strerror}")
    table = [(m.group(1), m.group(3)) for m in map(CUE_LINE.match, lines) if m]
    if not table:
        fail(f"no cue lines in {generator}")
    return table


def words_of(text):
    """The words a recogniser would write for a cue: lower case, no punctuation."""
    return " ".join(re.findall(r"[a-z']+", text.lower()))


def import_pocketsphinx():
    try:
        import pocketsphinx
    except ImportError:
        fail("the pocketsphinx Python module is missing (Debian: python3-pocketsphinx)")
    return pocketsphinx


def check_tools():
    """The pocketsphinx module, once the model and sox are known to be there too."""
    pocketsphinx = import_pocketsphinx()
    if not os.path.isfile(os.path.join(MODEL, "en-us", "mdef")):
        fail(f"the US English model is missing under {MODEL} (Debian: pocketsphinx-en-us)")
    if not shutil.which("sox"):
        fail("sox is missing (Debian: sox)")
    return pocketsphinx


def write_dictionary(sentences, path):
    """A pronouncing dictionary holding just the words of `sentences`."""
    wanted = {w for s in sentences for w in s.split()}
    entries = {w: list(p) for w, p in EXTRA_WORDS.items() if w in wanted}
    with open(os.path.join(MODEL, "cmudict-en-us.dict"), encoding="utf-8") as f:
        for line in f:
            head, _, phones = line.strip().partition(" ")
            word = re.sub(r"\(\d+\)$", "", head)
            if word in wanted and word not in EXTRA_WORDS:
                entries.setdefault(word, []).append(phones)
    unknown = sorted(wanted - entries.keys())
    if unknown:
        fail("no pronunciation for: " + ", ".join(unknown))
    with open(path, "w", encoding="utf-8") as f:
        for word in sorted(entries):
            for i, phones in enumerate(entries[word]):
                f.write(f"{word}{'' if i == 0 else f'({i + 1})'} {phones}\n")


def grammar(sentences):
    body = " | ".join(f"( {s} )" for s in sentences)
    return f"#JSGF V1.0;\ngrammar cues;\npublic <cue> = {body} ;\n"


class Recogniser:
    """pocketsphinx over the cue grammar. Each decoding gets a decoder of its own: one
    carries its running cepstral mean from one utterance to the next, which would make a
    cue's verdict depend on the cues heard before it."""

    def __init__(self, pocketsphinx, dictionary, sentences):
        self.pocketsphinx = pocketsphinx
        self.dictionary = dictionary
        self.sentences = sentences

    def _decoder(self):
        config = self.pocketsphinx.Decoder.default_config()
        config.set_string("-hmm", os.path.join(MODEL, "en-us"))
        config.set_string("-dict", self.dictionary)
        config.set_string("-logfn", os.devnull)
        # The whole cue is judged, not what a voice detector keeps of it.
        config.set_boolean("-remove_silence", False)
        return self.pocketsphinx.Decoder(config)

    @staticmethod
    def _best(decoder, name, sentences, audio):
        decoder.set_jsgf_string(name, grammar(sentences))
        decoder.set_search(name)
        decoder.start_utt()
        decoder.process_raw(audio, False, True)
        decoder.end_utt()
        hyp = decoder.hyp()
        return (hyp.hypstr, hyp.best_score) if hyp is not None and hyp.hypstr else (None, None)

    def hear(self, audio):
        """The sentence picked for `audio`, or None."""
        return self._best(self._decoder(), "all", self.sentences, audio)[0]

    def margin(self, audio, own):
        """How far `own` scores ahead of the best other sentence when each is aligned on its
        own, and which that is (a decoder each, as above: a minute or two for all the cues)."""
        scores = {s: self._best(self._decoder(), "one", [s], audio)[1] for s in self.sentences}
        others = {s: v for s, v in scores.items() if s != own and v is not None}
        if scores[own] is None or not others:
            return "-"
        runner_up = max(others, key=others.get)
        return f"{scores[own] - others[runner_up]}({runner_up.replace(' ', '_')})"


def samples_of(path, lead_in):
    """The cue as the model wants it (16 kHz mono 16-bit) with `lead_in` seconds of silence
    on both sides, or None when sox cannot read it. sox dithers the conversion; -R makes
    that noise the same on every run, and it keeps the silence from being digital zero."""
    run = subprocess.run(["sox", "-R", "-V1", path, "-r", str(RATE), "-c", "1", "-b", "16",
                          "-e", "signed-integer", "-t", "raw", "-", "pad", str(lead_in),
                          str(lead_in)], capture_output=True)
    return run.stdout if run.returncode == 0 else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sounds", default=os.path.join(ROOT, "res", "sounds"))
    parser.add_argument("--generator", default=os.path.join(ROOT, "tools", "gen_cues.sh"))
    parser.add_argument("--margins", action="store_true")
    args = parser.parse_args()

    table = read_table(args.generator)
    pocketsphinx = check_tools()
    sentences = list(dict.fromkeys(words_of(text) for _, text in table))
    failures = []
    with tempfile.TemporaryDirectory() as work:
        dictionary = os.path.join(work, "cues.dict")
        write_dictionary(sentences, dictionary)
        recogniser = Recogniser(pocketsphinx, dictionary, sentences)

        columns = "".join(f" {f'heard after {t} s':<27}" for t in LEAD_INS)
        print(f"{'cue':<14}{columns}{' margins' if args.margins else ''}")
        for name, text in table:
            own = words_of(text)
            line, wrong, margins = f"{name:<14}", [], []
            for lead_in in LEAD_INS:
                audio = samples_of(os.path.join(args.sounds, name), lead_in)
                if audio is None:
                    line += f" {'(cannot read)':<27}"
                    wrong.append("sox cannot read it")
                    continue
                heard = recogniser.hear(audio)
                line += f" {heard or '(nothing)':<27}"
                if heard != own:
                    wrong.append(f'heard as "{heard or "nothing"}" after {lead_in} s')
                if args.margins:
                    margins.append(recogniser.margin(audio, own))
            print(line + (" " + " ".join(margins) if margins else ""))
            if wrong:
                failures.append(f'{name} ("{own}"): ' + "; ".join(dict.fromkeys(wrong)))

    print(f"recognise_cues: {len(table) - len(failures)} of {len(table)} cues recognised "
          "as their own words")
    for f in failures:
        print("FAIL " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
