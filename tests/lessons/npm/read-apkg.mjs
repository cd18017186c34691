// Prints what anki-reader, a reader that is not ours, finds in a package: its decks with their notes' fields, and
// its media by name with the SHA-1 of their bytes, as JSON.
// Usage: node read-apkg.mjs <package.apkg>
import { readFileSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { readAnkiPackage } from 'anki-reader';

const { collection, media } = await readAnkiPackage(new Blob([readFileSync(process.argv[2])]));
const decks = [];
for (const deck of Object.values(collection.getDecks())) {
    const notes = Object.values(deck.getCards()).map((card) => card.getFields());
    decks.push({ name: deck.getName(), notes });
}
const sounds = {};
for (const [name, blob] of Object.entries(media)) {
    sounds[name] = createHash('sha1').update(Buffer.from(await blob.arrayBuffer())).digest('hex');
}
process.stdout.write(JSON.stringify({ decks, media: sounds }) + '\n');
