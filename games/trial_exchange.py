#!/usr/bin/env python3
"""Writes what the main program hands to an activity, so a game can be tried without logging in.

    games/trial_exchange.py --stage build/stage --subject greetings --phrases 10 --language Spanish OUT
    build/stage/Activities/Flashcards.exe OUT/~prl4242.txt

OUT gets Users.dat (a copy of the template), one WAVE file per phrase spoken by espeak-ng and the exchange file.
"""
import argparse
import os
import re
import shutil
import subprocess

parser = argparse.ArgumentParser()
parser.add_argument('out')
parser.add_argument('--stage', default='build/stage')
parser.add_argument('--subject', default='greetings', help='a file of content/phrasebook/subjects without .tsv')
parser.add_argument('--phrases', type=int, default=10)
parser.add_argument('--language', choices=['English', 'Spanish'], default='English')
parser.add_argument('--taught', default='de', help='column of the language taught: de fr it es en')
parser.add_argument('--student', default='Ana O\'Brien')
args = parser.parse_args()

here = os.path.dirname(os.path.abspath(__file__))
source = os.path.join(here, '..', 'content', 'phrasebook', 'subjects', args.subject + '.tsv')
rows, columns = [], None
for line in open(source, encoding='utf-8'):
    line = line.rstrip('\n')
    if not line.strip() or line.startswith('#'):
        continue
    fields = line.split('\t')
    if columns is None:
        columns = fields
    else:
        row = dict(zip(columns, fields))
        # As the build ships French: a no-break space before ? ! : and ;.
        row['fr'] = re.sub(r' (?=[?!:;])', '\u00a0', row['fr'])
        rows.append(row)
rows = rows[:args.phrases]

out = os.path.abspath(args.out)
os.makedirs(out, exist_ok=True)
database = os.path.join(out, 'Users.dat')
if not os.path.exists(database):
    shutil.copy(os.path.join(args.stage, 'Parlanta.tpl'), database)
learner, other = ('es', 'en') if args.language == 'Spanish' else ('en', 'es')
voices = {'de': 'de', 'fr': 'fr', 'it': 'it', 'es': 'es', 'en': 'en-gb'}
names = {'de': 'German', 'fr': 'French', 'it': 'Italian', 'es': 'Spanish', 'en': 'English'}
lines = ['4242', 'prlale' if args.language == 'Spanish' else 'prlger', 'Parlanta', args.language, names[args.taught],
         args.student, args.subject.replace('_', ' ').title(), str(len(rows)), database,
         # Line 10: the phrases' identities, as if they came from the subject file made of this list.
         '\t'.join('%s.trial#%d' % (args.subject, n) for n in range(1, len(rows) + 1))] + ['EMPTY'] * 4 + [' 0 ']
for n, row in enumerate(rows, 1):
    wave = os.path.join(out, '~prl4242%d.wav' % n)
    subprocess.run(['espeak-ng', '-v', voices[args.taught], '-s', '130', '-w', wave, row[args.taught]], check=True)
    lines += ['"%s"' % t for t in (row[args.taught], row[learner], row[other], wave)]
with open(os.path.join(out, '~prl4242.txt'), 'wb') as f:
    f.write(''.join(line + '\r\n' for line in lines).encode('utf-8'))
print(os.path.join(out, '~prl4242.txt'))
