// Reads every EDS file of a folder with the canopen package (version 6) and checks that the
// objects of each PDO listed in NAME.pdos.json are there and consistent.
'use strict';
const fs = require('fs');
const path = require('path');
// The package's index also loads a native CRC module that only SDO block transfers use; the EDS
// reader itself is plain JavaScript, so it is loaded directly and no compiler is needed.
const { Eds } = require('canopen/source/eds');

const dir = process.argv[2];
const offsets = [0x180, 0x200, 0x280, 0x300, 0x380, 0x400, 0x480, 0x500];
const typeByBytes = [0x1c, 0x05, 0x06, 0x16, 0x07, 0x18, 0x19, 0x1a, 0x1b];
let failures = 0;

function expect(ok, file, what) {
    if (!ok) {
        console.error(`${file}: ${what}`);
        failures += 1;
    }
}

function checkDirection(eds, file, pdos, node, receive) {
    const found = receive ? eds.getReceivePdos() : eds.getTransmitPdos();
    let numeric = 0;
    pdos.forEach((pdo, k) => {
        const comm = eds.getEntry((receive ? 0x1400 : 0x1800) + k);
        const map = eds.getEntry((receive ? 0x1600 : 0x1a00) + k);
        const area = eds.getEntry((receive ? 0x3000 : 0x2000) + k);
        const label = `${receive ? 'RPDO' : 'TPDO'} ${k + 1}`;
        if (!comm || !map || !area) {
            expect(false, file, `${label}: communication, mapping or area object missing`);
            return;
        }
        const d = pdo.cob - node;
        const cobText = offsets.includes(d)
            ? `$NODEID+0x${d.toString(16)}`
            : `0x${pdo.cob.toString(16).padStart(4, '0')}`;
        expect(comm[1] && comm[1].defaultValue === cobText, file,
            `${label}: COB-ID ${comm[1] && comm[1].defaultValue}, expected ${cobText}`);
        const mapped = parseInt(map[1].defaultValue, 16);
        const areaIndex = (receive ? 0x3000 : 0x2000) + k;
        expect(mapped === areaIndex * 65536 + pdo.bytes * 8, file, `${label}: mapping ${map[1].defaultValue}`);
        // A data area is one VAR of the PDO's data type, mapped as a whole.
        const type = typeByBytes[pdo.bytes >= 1 && pdo.bytes <= 8 ? pdo.bytes : 0];
        expect(area.objectType === 7 && area.dataType === type && area.pdoMapping === '1', file,
            `${label}: area object type ${area.objectType}, data type ${area.dataType}, ` +
            `PDOMapping ${area.pdoMapping}`);
        if (!cobText.startsWith('$')) {
            numeric += 1;
            const p = found.find((x) => x.cobId === pdo.cob);
            expect(p !== undefined && p.dataSize === pdo.bytes && p.dataObjects[0] === area, file,
                `${label}: not reported by the reader with COB-ID ${pdo.cob}, ${pdo.bytes} bytes ` +
                'and its data area');
        }
    });
    expect(found.length === numeric, file,
        `${found.length} ${receive ? 'receive' : 'transmit'} PDOs reported, expected ${numeric}`);
    expect(!eds.getEntry((receive ? 0x1400 : 0x1800) + pdos.length), file,
        'an object beyond the last PDO');
}

const files = fs.readdirSync(dir).filter((n) => n.endsWith('.eds')).sort();
expect(files.length > 0, dir, 'no EDS files');
for (const file of files) {
    const pdos = JSON.parse(fs.readFileSync(path.join(dir, file.replace(/\.eds$/, '.pdos.json'))));
    let eds;
    try {
        eds = Eds.fromFile(path.join(dir, file));
    } catch (e) {
        expect(false, file, `not readable: ${e.message}`);
        continue;
    }
    try {
        expect(eds.fileInfo.FileName === file, file, `FileName ${eds.fileInfo.FileName}`);
        expect(/^(0[1-9]|1[0-2]):[0-5][0-9](AM|PM)$/.test(eds.fileInfo.CreationTime), file,
            `CreationTime ${eds.fileInfo.CreationTime}`);
        expect(parseInt(eds.deviceInfo.NrOfTXPDO) === pdos.tx.length, file, 'NrOfTXPDO');
        expect(parseInt(eds.deviceInfo.NrOfRXPDO) === pdos.rx.length, file, 'NrOfRXPDO');
        for (const index of [0x1000, 0x1001, 0x1018, 0x100c, 0x100d, 0x1016, 0x1017]) {
            expect(eds.getEntry(index), file, `object ${index.toString(16)} missing`);
        }
        const identity = eds.getEntry(0x1018);
        expect(identity[1].value === parseInt(eds.deviceInfo.VendorNumber), file, 'vendor ID');
        expect(identity[2].value === parseInt(eds.deviceInfo.ProductNumber), file, 'product code');
        expect(identity[3].value === parseInt(eds.deviceInfo.RevisionNumber), file, 'revision');
        checkDirection(eds, file, pdos.tx, pdos.node, false);
        checkDirection(eds, file, pdos.rx, pdos.node, true);
    } catch (e) {
        expect(false, file, `check failed: ${e.stack}`);
    }
    console.log(`${file}: ${pdos.tx.length} TPDO, ${pdos.rx.length} RPDO read`);
}
process.exit(failures === 0 ? 0 : 1);
