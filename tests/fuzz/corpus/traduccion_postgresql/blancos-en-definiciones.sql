CREATE TABLE T (A varchar(20) NOT NULL DEFAULT 'A  B' -- nota
, B int CHECK (B <> 'x  y'), CONSTRAINT CK CHECK (A <> '  '))