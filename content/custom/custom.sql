-- The empty virtual subject file every new one is copied from. The program reads tblParents by column position
-- (key first, name second) and tblPhrases by column name.
CREATE TABLE tblParents (
    nParent INTEGER PRIMARY KEY AUTOINCREMENT,
    tName TEXT
);

CREATE TABLE tblPhrases (
    pkPhraseNo INTEGER PRIMARY KEY AUTOINCREMENT,
    fkParent INTEGER,
    tfilename TEXT,
    nPhraseNo INTEGER,
    tPhrase TEXT,
    tTranslation TEXT,
    tTranslation2 TEXT
);

-- Every listing of a virtual subject selects its phrases by fkParent.
CREATE INDEX idxPhrasesParent ON tblPhrases (fkParent);
