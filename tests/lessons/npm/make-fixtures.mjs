// Writes the Anki fixtures with writers that are not ours: anki-apkg-export for the older layout, and a repack of
// its package into the newer layout (zstd, protocol buffers, the note types and decks in tables of their own).
// Usage: node make-fixtures.mjs <folder with hund.wav and katze.wav> <fixtures folder>
import { readFileSync, writeFileSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { createRequire } from 'node:module';
import JSZip from 'jszip';
import protobuf from 'protobufjs';
import { init as initZstd, compress } from '@bokuweb/zstd-wasm';
import exporter from 'anki-apkg-export';

const require = createRequire(import.meta.url);
const SQL = require('sql.js');
const [sounds, out] = process.argv.slice(2);

// Markup as teachers' decks carry it: bold, line breaks, non-breaking spaces, pictures, a cloze deletion.
const notes = [
    ['<b>der Hund</b>', 'el perro[sound:hund.wav]'],
    ['die Katze', 'el gato<br>[sound:katze.wav]'],
    ['das&nbsp;Pferd', 'el caballo'],
    ['<img src="vogel.png">der Vogel', 'el pájaro'],
    ['Das ist ein {{c1::Hund}}.', 'Es un perro.'],
    ['die Kuh', 'la vaca'],
    ['das Schaf', 'la oveja'],
    ['die Maus', 'el ratón'],
    ['der Fisch', 'el pez'],
    ['die Ente', 'el pato'],
    ['der Bär', 'el oso'],
    ['<i>der Löwe</i>', 'el león'],
];

const older = exporter.default('Deutsch::Tiere');
older.addMedia('hund.wav', readFileSync(`${sounds}/hund.wav`));
older.addMedia('katze.wav', readFileSync(`${sounds}/katze.wav`));
for (const [front, back] of notes) older.addCard(front, back);
const olderBytes = await older.save();
writeFileSync(`${out}/anki-export-older.apkg`, olderBytes);

// The newer layout as Anki 23.10 and later write it.
const proto = protobuf.Root.fromJSON({
    nested: {
        PackageMetadata: { fields: { version: { type: 'uint32', id: 1 } } },
        MediaEntry: {
            fields: {
                name: { type: 'string', id: 1 },
                size: { type: 'uint32', id: 2 },
                sha1: { type: 'bytes', id: 3 },
            },
        },
        MediaEntries: { fields: { entries: { rule: 'repeated', type: 'MediaEntry', id: 1 } } },
    },
});
await initZstd();
const zip = await JSZip.loadAsync(olderBytes);
const collection = await zip.file('collection.anki2').async('uint8array');
const db = new SQL.Database(collection);
const [models, decks] = db.exec('select models, decks from col')[0].values[0].map((text) => JSON.parse(text));
db.run(`create table notetypes (id integer primary key, name text not null, mtime_secs integer not null,
            usn integer not null, config blob not null);
        create table fields (ntid integer not null, ord integer not null, name text not null, config blob not null,
            primary key (ntid, ord));
        create table decks (id integer primary key, name text not null, mtime_secs integer not null,
            usn integer not null, common blob not null, kind blob not null);`);
for (const model of Object.values(models)) {
    db.run('insert into notetypes values (?, ?, 0, 0, x\'\')', [model.id, model.name]);
    for (const field of model.flds) db.run('insert into fields values (?, ?, ?, x\'\')', [model.id, field.ord, field.name]);
}
for (const deck of Object.values(decks)) {
    db.run('insert into decks values (?, ?, 0, 0, x\'\', x\'\')', [deck.id, deck.name.split('::').join('\x1f')]);
}
db.run("update col set ver = 18, models = '', decks = ''");

// Older programs that open the package find a collection telling them to update, as Anki's own packages do.
const legacy = new SQL.Database(collection);
legacy.run('delete from cards; delete from notes where id <> (select min(id) from notes)');
legacy.run("update notes set flds = 'Please update to the latest Anki version, then import the .colpkg/.apkg file again.'");

const media = JSON.parse(await zip.file('media').async('string'));
const entries = [];
const newer = new JSZip();
for (const [index, name] of Object.entries(media)) {
    const bytes = await zip.file(index).async('uint8array');
    entries.push({ name, size: bytes.length, sha1: createHash('sha1').update(bytes).digest() });
    newer.file(index, compress(bytes, 3));
}
newer.file('meta', proto.lookupType('PackageMetadata').encode({ version: 3 }).finish());
newer.file('media', compress(proto.lookupType('MediaEntries').encode({ entries }).finish(), 3));
newer.file('collection.anki21b', compress(db.export(), 3));
newer.file('collection.anki2', Buffer.from(legacy.export()));
writeFileSync(`${out}/anki-export-newer.apkg`, await newer.generateAsync({ type: 'nodebuffer', compression: 'DEFLATE' }));
